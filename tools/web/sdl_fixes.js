// Replacements for parts of emscripten's SDL 1.2 (3.1.6) that the game cannot use as they
// are, linked with --js-library after emscripten's own library, whose entries of the same
// name they override. The game's C++ stays the same as on Linux.
//
// Surfaces: emscripten keeps a software surface's picture in a 2D canvas and copies it to
// and from the heap on lock and unlock; once the video mode is GL it drops a loaded
// picture's canvas, and blit, convert, fill and unlock then throw, abort or miss the heap.
// Here the heap pixels ARE the picture, as in the C library: every surface is a C struct
// with its own zeroed pixel buffer and a complete pixel format (masks, shifts, losses),
// and blit, convert and fill work on those bytes. Blits copy 4-byte pixels between surfaces
// of the same format, which is all the game does (its canvas, the browser's decodes and the
// texture uploads are all bytes R, G, B, A); blending, colour keys and conversions between
// formats fail with an error instead of giving other pixels than the C library would.
//
// Files: a freed RWops used to free id 0 too, so the next file opened got id 0, which the
// game reads as a null pointer ("cannot open"). Id 0 stays reserved here, and a file that
// does not exist gives 0 with an error, as SDL does.
//
// Video: without WebGL SDL_SetVideoMode still answered a surface; here it fails with a
// message the game prints. SDL_GetVideoInfo left vfmt uninitialised. SDL_GL_SwapBuffers
// never gave control back to the browser, so a loop without a delay froze the page; here it
// waits for the browser's next animation frame (an ASYNCIFY import: the C++ stack is
// unwound and rewound around the wait).

var korvaneOriginals = {};
['SDL_SetVideoMode', 'SDL_GetVideoInfo', 'SDL_FreeSurface'].forEach(function(name) {
  korvaneOriginals['emscripten_' + name] = LibraryManager.library[name];
  korvaneOriginals['emscripten_' + name + '__deps'] = LibraryManager.library[name + '__deps'] || [];
});

mergeInto(LibraryManager.library, korvaneOriginals);

mergeInto(LibraryManager.library, {
  $HeapSurfaces__deps: ['$SDL', 'malloc', 'free'],
  $HeapSurfaces: {
    // surface pointer -> { pixels }; only surfaces made here are listed.
    list: {},
    kSrcAlpha: 0x00010000,

    zalloc: function(size) {
      var p = _malloc(size);
      if (p) HEAPU8.fill(0, p, p + size);
      return p;
    },

    setError: function(text) {
      // SDL_GetError returns SDL.errorMessage; SDL_SetError itself is a no-op in emscripten.
      if (SDL.errorMessage) _free(SDL.errorMessage);
      SDL.errorMessage = allocateUTF8(text);
    },

    shiftOf: function(mask) {
      if (!mask) return 0;
      var shift = 0;
      while (!((mask >>> shift) & 1)) ++shift;
      return shift;
    },

    bitsOf: function(mask) {
      var bits = 0;
      for (var m = mask >>> 0; m; m >>>= 1) bits += m & 1;
      return bits;
    },

    // Fills an SDL_PixelFormat at fmt for depth bits a pixel and the given masks.
    writeFormat: function(fmt, depth, rmask, gmask, bmask, amask) {
      HEAPU8.fill(0, fmt, fmt + {{{ C_STRUCTS.SDL_PixelFormat.__size__ }}});
      {{{ makeSetValue('fmt', C_STRUCTS.SDL_PixelFormat.format, cDefine('SDL_PIXELFORMAT_RGBA8888'), 'i32') }}};
      {{{ makeSetValue('fmt', C_STRUCTS.SDL_PixelFormat.BitsPerPixel, 'depth', 'i8') }}};
      {{{ makeSetValue('fmt', C_STRUCTS.SDL_PixelFormat.BytesPerPixel, '(depth + 7) >> 3', 'i8') }}};
      var masks = [rmask, gmask, bmask, amask];
      var maskAt = [{{{ C_STRUCTS.SDL_PixelFormat.Rmask }}}, {{{ C_STRUCTS.SDL_PixelFormat.Gmask }}},
                    {{{ C_STRUCTS.SDL_PixelFormat.Bmask }}}, {{{ C_STRUCTS.SDL_PixelFormat.Amask }}}];
      var lossAt = [{{{ C_STRUCTS.SDL_PixelFormat.Rloss }}}, {{{ C_STRUCTS.SDL_PixelFormat.Gloss }}},
                    {{{ C_STRUCTS.SDL_PixelFormat.Bloss }}}, {{{ C_STRUCTS.SDL_PixelFormat.Aloss }}}];
      var shiftAt = [{{{ C_STRUCTS.SDL_PixelFormat.Rshift }}}, {{{ C_STRUCTS.SDL_PixelFormat.Gshift }}},
                     {{{ C_STRUCTS.SDL_PixelFormat.Bshift }}}, {{{ C_STRUCTS.SDL_PixelFormat.Ashift }}}];
      for (var i = 0; i < 4; ++i) {
        HEAP32[(fmt + maskAt[i]) >> 2] = masks[i];
        HEAPU8[fmt + lossAt[i]] = 8 - Math.min(8, HeapSurfaces.bitsOf(masks[i]));
        HEAPU8[fmt + shiftAt[i]] = HeapSurfaces.shiftOf(masks[i]);
      }
      {{{ makeSetValue('fmt', C_STRUCTS.SDL_PixelFormat.refcount, '1', 'i32') }}};
    },

    format: function(surf) {
      var fmt = {{{ makeGetValue('surf', C_STRUCTS.SDL_Surface.format, 'void*') }}};
      return {
        bytes: HEAPU8[fmt + {{{ C_STRUCTS.SDL_PixelFormat.BytesPerPixel }}}],
        depth: HEAPU8[fmt + {{{ C_STRUCTS.SDL_PixelFormat.BitsPerPixel }}}],
        masks: [{{{ C_STRUCTS.SDL_PixelFormat.Rmask }}}, {{{ C_STRUCTS.SDL_PixelFormat.Gmask }}},
                {{{ C_STRUCTS.SDL_PixelFormat.Bmask }}}, {{{ C_STRUCTS.SDL_PixelFormat.Amask }}}]
                   .map(function(at) { return HEAPU32[(fmt + at) >> 2]; })
      };
    },

    make: function(flags, width, height, depth, rmask, gmask, bmask, amask) {
      if (width < 0 || height < 0 || [8, 16, 24, 32].indexOf(depth) < 0) {
        HeapSurfaces.setError('CreateRGBSurface: ' + width + ' x ' + height + ' at ' + depth +
                              ' bits is not a surface');
        return 0;
      }
      var pitch = (width * ((depth + 7) >> 3) + 3) & ~3; // rows start on 4-byte boundaries
      var surf = HeapSurfaces.zalloc({{{ C_STRUCTS.SDL_Surface.__size__ }}});
      var fmt = HeapSurfaces.zalloc({{{ C_STRUCTS.SDL_PixelFormat.__size__ }}});
      var pixels = HeapSurfaces.zalloc(Math.max(1, pitch * height));
      if (!surf || !fmt || !pixels) {
        _free(surf); _free(fmt); _free(pixels);
        HeapSurfaces.setError('Out of memory');
        return 0;
      }
      HeapSurfaces.writeFormat(fmt, depth, rmask, gmask, bmask, amask);
      {{{ makeSetValue('surf', C_STRUCTS.SDL_Surface.flags, 'flags & ~0x00000001', 'i32') }}};
      {{{ makeSetValue('surf', C_STRUCTS.SDL_Surface.format, 'fmt', 'void*') }}};
      {{{ makeSetValue('surf', C_STRUCTS.SDL_Surface.w, 'width', 'i32') }}};
      {{{ makeSetValue('surf', C_STRUCTS.SDL_Surface.h, 'height', 'i32') }}};
      {{{ makeSetValue('surf', C_STRUCTS.SDL_Surface.pitch, 'pitch', 'i32') }}};
      {{{ makeSetValue('surf', C_STRUCTS.SDL_Surface.pixels, 'pixels', 'void*') }}};
      {{{ makeSetValue('surf', C_STRUCTS.SDL_Surface.clip_rect + C_STRUCTS.SDL_Rect.w, 'width', 'i32') }}};
      {{{ makeSetValue('surf', C_STRUCTS.SDL_Surface.clip_rect + C_STRUCTS.SDL_Rect.h, 'height', 'i32') }}};
      {{{ makeSetValue('surf', C_STRUCTS.SDL_Surface.refcount, '1', 'i32') }}};
      HeapSurfaces.list[surf] = { pixels: pixels };
      return surf;
    },

    geometry: function(surf) {
      return {
        w: {{{ makeGetValue('surf', C_STRUCTS.SDL_Surface.w, 'i32') }}},
        h: {{{ makeGetValue('surf', C_STRUCTS.SDL_Surface.h, 'i32') }}},
        pitch: {{{ makeGetValue('surf', C_STRUCTS.SDL_Surface.pitch, 'i32') }}},
        pixels: {{{ makeGetValue('surf', C_STRUCTS.SDL_Surface.pixels, 'void*') }}},
        flags: {{{ makeGetValue('surf', C_STRUCTS.SDL_Surface.flags, 'i32') }}}
      };
    },

    // Copies w x h pixels row by row; the caller checked that both sides have the same
    // 4-byte pixel format and that the rectangles lie inside the surfaces.
    copy: function(src, sx, sy, dst, dx, dy, w, h) {
      var s = HeapSurfaces.geometry(src), d = HeapSurfaces.geometry(dst);
      for (var y = 0; y < h; ++y) {
        var from = s.pixels + (sy + y) * s.pitch + 4 * sx;
        HEAPU8.copyWithin(d.pixels + (dy + y) * d.pitch + 4 * dx, from, from + 4 * w);
      }
    },

    readRect: function(rect, dflt) {
      if (!rect) return dflt;
      return {
        x: {{{ makeGetValue('rect', C_STRUCTS.SDL_Rect.x, 'i32') }}},
        y: {{{ makeGetValue('rect', C_STRUCTS.SDL_Rect.y, 'i32') }}},
        w: {{{ makeGetValue('rect', C_STRUCTS.SDL_Rect.w, 'i32') }}},
        h: {{{ makeGetValue('rect', C_STRUCTS.SDL_Rect.h, 'i32') }}}
      };
    },

    // A decoded picture (canvas or image) as a 32-bit surface, bytes R, G, B, A in memory.
    fromPicture: function(picture) {
      var w = picture.width, h = picture.height;
      var canvas = document.createElement('canvas');
      canvas.width = w;
      canvas.height = h;
      var ctx = canvas.getContext('2d');
      ctx.globalCompositeOperation = 'copy';
      ctx.drawImage(picture, 0, 0);
      var data = ctx.getImageData(0, 0, w, h).data;
      var surf = HeapSurfaces.make(0, w, h, 32, 0xff, 0xff00, 0xff0000, 0xff000000);
      if (surf) HEAPU8.set(data, HeapSurfaces.geometry(surf).pixels);
      return surf;
    }
  },

  SDL_CreateRGBSurface__deps: ['$HeapSurfaces'],
  SDL_CreateRGBSurface: function(flags, width, height, depth, rmask, gmask, bmask, amask) {
    return HeapSurfaces.make(flags, width, height, depth, rmask, gmask, bmask, amask);
  },

  SDL_FreeSurface__deps: ['$HeapSurfaces', 'emscripten_SDL_FreeSurface'],
  SDL_FreeSurface: function(surf) {
    if (!surf) return;
    var info = HeapSurfaces.list[surf];
    if (!info) return _emscripten_SDL_FreeSurface(surf); // the screen
    var refcountAt = surf + {{{ C_STRUCTS.SDL_Surface.refcount }}};
    var refcount = {{{ makeGetValue('refcountAt', '0', 'i32') }}};
    if (refcount > 1) {
      {{{ makeSetValue('refcountAt', '0', 'refcount - 1', 'i32') }}};
      return;
    }
    _free(info.pixels);
    _free({{{ makeGetValue('surf', C_STRUCTS.SDL_Surface.format, 'void*') }}});
    _free(surf);
    delete HeapSurfaces.list[surf];
  },

  // The pixels are always in the heap: nothing to copy either way.
  SDL_LockSurface: function(surf) { return 0; },
  SDL_UnlockSurface: function(surf) {},

  // Only the flag is kept: the blit refuses per-surface alpha (the game turns it off first).
  SDL_SetAlpha__deps: ['$HeapSurfaces'],
  SDL_SetAlpha: function(surf, flag, alpha) {
    if (!HeapSurfaces.list[surf]) return 0;
    var flagsAt = surf + {{{ C_STRUCTS.SDL_Surface.flags }}};
    var flags = {{{ makeGetValue('flagsAt', '0', 'i32') }}};
    flags = (flag & HeapSurfaces.kSrcAlpha) ? flags | HeapSurfaces.kSrcAlpha : flags & ~HeapSurfaces.kSrcAlpha;
    {{{ makeSetValue('flagsAt', '0', 'flags', 'i32') }}};
    return 0;
  },

  SDL_SetColorKey__deps: ['$HeapSurfaces'],
  SDL_SetColorKey: function(surf, flag, key) {
    HeapSurfaces.setError('SDL_SetColorKey: colour keys are not supported here');
    return -1;
  },

  SDL_FillRect__deps: ['$HeapSurfaces'],
  SDL_FillRect: function(surf, rect, color) {
    if (!HeapSurfaces.list[surf]) return -1;
    var g = HeapSurfaces.geometry(surf);
    var r = HeapSurfaces.readRect(rect, { x: 0, y: 0, w: g.w, h: g.h });
    var x0 = Math.max(0, r.x), y0 = Math.max(0, r.y);
    var x1 = Math.min(g.w, r.x + r.w), y1 = Math.min(g.h, r.y + r.h);
    var bytes = HeapSurfaces.format(surf).bytes;
    for (var y = y0; y < y1; ++y) {
      var row = g.pixels + y * g.pitch;
      for (var x = x0; x < x1; ++x)
        for (var b = 0; b < bytes; ++b) HEAPU8[row + x * bytes + b] = (color >>> (8 * b)) & 0xff;
    }
    return 0;
  },

  // Clips as SDL does (to the source, then to the destination) and writes the rectangle
  // that was written into dstrect.
  SDL_UpperBlit__deps: ['$HeapSurfaces'],
  SDL_UpperBlit: function(src, srcrect, dst, dstrect) {
    if (!HeapSurfaces.list[src] || !HeapSurfaces.list[dst]) {
      HeapSurfaces.setError('SDL_BlitSurface: not a software surface');
      return -1;
    }
    var sf = HeapSurfaces.format(src), df = HeapSurfaces.format(dst);
    var s = HeapSurfaces.geometry(src), d = HeapSurfaces.geometry(dst);
    if (sf.bytes !== 4 || df.bytes !== 4 || sf.masks.join() !== df.masks.join() ||
        (s.flags & HeapSurfaces.kSrcAlpha)) {
      HeapSurfaces.setError('SDL_BlitSurface: only copies between 4-byte surfaces of the ' +
                            'same format, without per-surface alpha, are supported here');
      return -1;
    }
    var r = HeapSurfaces.readRect(srcrect, { x: 0, y: 0, w: s.w, h: s.h });
    var at = HeapSurfaces.readRect(dstrect, { x: 0, y: 0 });
    var sx = r.x, sy = r.y, w = r.w, h = r.h, dx = at.x, dy = at.y;
    if (sx < 0) { w += sx; dx -= sx; sx = 0; }
    if (sy < 0) { h += sy; dy -= sy; sy = 0; }
    w = Math.min(w, s.w - sx);
    h = Math.min(h, s.h - sy);
    if (dx < 0) { w += dx; sx -= dx; dx = 0; }
    if (dy < 0) { h += dy; sy -= dy; dy = 0; }
    w = Math.max(0, Math.min(w, d.w - dx));
    h = Math.max(0, Math.min(h, d.h - dy));
    if (w > 0 && h > 0) HeapSurfaces.copy(src, sx, sy, dst, dx, dy, w, h);
    if (dstrect) {
      {{{ makeSetValue('dstrect', C_STRUCTS.SDL_Rect.x, 'dx', 'i32') }}};
      {{{ makeSetValue('dstrect', C_STRUCTS.SDL_Rect.y, 'dy', 'i32') }}};
      {{{ makeSetValue('dstrect', C_STRUCTS.SDL_Rect.w, 'w', 'i32') }}};
      {{{ makeSetValue('dstrect', C_STRUCTS.SDL_Rect.h, 'h', 'i32') }}};
    }
    return 0;
  },
  SDL_BlitSurface__deps: ['SDL_UpperBlit'],
  SDL_BlitSurface: function(src, srcrect, dst, dstrect) {
    return _SDL_UpperBlit(src, srcrect, dst, dstrect);
  },

  // A copy in the given format (which must be the surface's own: see the blit).
  SDL_ConvertSurface__deps: ['$HeapSurfaces', 'SDL_UpperBlit'],
  SDL_ConvertSurface: function(surf, fmt, flags) {
    if (!HeapSurfaces.list[surf]) {
      HeapSurfaces.setError('SDL_ConvertSurface: not a software surface');
      return 0;
    }
    var g = HeapSurfaces.geometry(surf);
    var masks = [{{{ C_STRUCTS.SDL_PixelFormat.Rmask }}}, {{{ C_STRUCTS.SDL_PixelFormat.Gmask }}},
                 {{{ C_STRUCTS.SDL_PixelFormat.Bmask }}}, {{{ C_STRUCTS.SDL_PixelFormat.Amask }}}]
                    .map(function(at) { return HEAPU32[(fmt + at) >> 2]; });
    var depth = HEAPU8[fmt + {{{ C_STRUCTS.SDL_PixelFormat.BitsPerPixel }}}];
    var copy = HeapSurfaces.make(flags, g.w, g.h, depth, masks[0], masks[1], masks[2], masks[3]);
    if (!copy) return 0;
    // The copy takes the picture's own alpha, not a blend over its zeroed pixels.
    var savedFlags = g.flags;
    {{{ makeSetValue('surf', C_STRUCTS.SDL_Surface.flags, 'savedFlags & ~0x00010000', 'i32') }}};
    var result = _SDL_UpperBlit(surf, 0, copy, 0);
    {{{ makeSetValue('surf', C_STRUCTS.SDL_Surface.flags, 'savedFlags', 'i32') }}};
    if (result < 0) {
      _SDL_FreeSurface(copy);
      return 0;
    }
    return copy;
  },

  SDL_FreeRW: function(rwopsID) {
    // Index 0 is the null pointer: it is never handed out, so it is never popped.
    SDL.rwops[rwopsID] = null;
    while (SDL.rwops.length > 1 && SDL.rwops[SDL.rwops.length - 1] === null) SDL.rwops.pop();
  },

  SDL_RWFromFile__deps: ['$HeapSurfaces', '$FS'],
  SDL_RWFromFile: function(_name, mode) {
    var name = UTF8ToString(_name);
    var found = FS.analyzePath(name);
    if (!found.exists || FS.isDir(found.object.mode)) {
      HeapSurfaces.setError("Couldn't open " + name);
      return 0;
    }
    var id = SDL.rwops.length;
    SDL.rwops.push({ filename: name, mimetype: Browser.getMimetype(name) });
    return id;
  },

  IMG_isPNG__deps: ['$FS'],
  IMG_isPNG: function(rwopsID) {
    var rwops = SDL.rwops[rwopsID];
    if (!rwops || rwops.filename === undefined) return 0;
    var signature = [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a];
    try {
      var head = new Uint8Array(8);
      var stream = FS.open(rwops.filename, 'r');
      var read = FS.read(stream, head, 0, 8, 0);
      FS.close(stream);
      return read === 8 && signature.every(function(b, i) { return head[i] === b; }) ? 1 : 0;
    } catch (e) {
      return 0;
    }
  },

  // The browser decoded the picture while the data loaded (--use-preload-plugins).
  IMG_Load_RW__deps: ['$HeapSurfaces', 'SDL_FreeRW', '$PATH_FS'],
  IMG_Load_RW: function(rwopsID, freeSrc) {
    var rwops = SDL.rwops[rwopsID];
    if (freeSrc && rwops) _SDL_FreeRW(rwopsID);
    if (!rwops || rwops.filename === undefined) {
      HeapSurfaces.setError('IMG_Load_RW: only files are read here');
      return 0;
    }
    var picture = Module['preloadedImages'] && Module['preloadedImages'][PATH_FS.resolve(rwops.filename)];
    if (!picture || typeof document == 'undefined') {
      HeapSurfaces.setError('Unsupported image format: ' + rwops.filename);
      return 0;
    }
    return HeapSurfaces.fromPicture(picture);
  },

  IMG_Load__deps: ['IMG_Load_RW', 'SDL_RWFromFile'],
  IMG_Load: function(filename) {
    var rwops = _SDL_RWFromFile(filename);
    return rwops ? _IMG_Load_RW(rwops, 1) : 0;
  },

  SDL_GetVideoInfo__deps: ['$HeapSurfaces', 'emscripten_SDL_GetVideoInfo'],
  SDL_GetVideoInfo: function() {
    if (!HeapSurfaces.videoInfo) {
      var info = _emscripten_SDL_GetVideoInfo();
      var fmt = HeapSurfaces.zalloc({{{ C_STRUCTS.SDL_PixelFormat.__size__ }}});
      HeapSurfaces.writeFormat(fmt, 32, 0xff, 0xff00, 0xff0000, 0xff000000);
      // vfmt is the pointer just before current_w (two 32-bit words of flags and memory).
      HEAP32[(info + {{{ C_STRUCTS.SDL_VideoInfo.current_w }}} - 4) >> 2] = fmt;
      HeapSurfaces.videoInfo = info;
    }
    return HeapSurfaces.videoInfo;
  },

  SDL_SetVideoMode__deps: ['$HeapSurfaces', 'emscripten_SDL_SetVideoMode'],
  SDL_SetVideoMode: function(width, height, depth, flags) {
    var screen = _emscripten_SDL_SetVideoMode(width, height, depth, flags);
    if ((flags & 0x04000000) && !Module.ctx) { // SDL_OPENGL, and no WebGL context was had
      HeapSurfaces.setError('this browser gives no WebGL (OpenGL) to draw with');
      return 0;
    }
    return screen;
  },

  SDL_GL_SwapBuffers__deps: ['$Asyncify', '$HeapSurfaces'],
  SDL_GL_SwapBuffers: function() {
    Asyncify.handleSleep(function(wakeUp) {
      var next = typeof requestAnimationFrame == 'function' ? requestAnimationFrame : setTimeout;
      next(function() {
        // The trap: once main has slept, its return is lost (the rewound main returns to
        // no caller), so the page would never hear that the game ended. Asked for here,
        // while the first sleep is in progress, the end of the last one brings main's
        // status, and exit() then ends the runtime as a synchronous return would.
        if (!HeapSurfaces.watchingMain) {
          HeapSurfaces.watchingMain = true;
          Asyncify.whenDone().then(function(status) {
            try {
              exit(status);
            } catch (e) { // exit() ends by throwing ExitStatus: here it has nothing to unwind
              if (!(e instanceof ExitStatus)) throw e;
            }
          });
        }
        wakeUp();
      });
    });
  }
});
