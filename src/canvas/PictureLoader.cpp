// The picture loader of builds without SDL_image (Windows): PNG and JPEG decoded by libpng and
// libjpeg-turbo, the decoders SDL_image 1.2 itself uses, into the SDL surfaces SDL_image
// makes, so that the game sees the same formats and pixels everywhere:
//   PNG RGBA, or grey + alpha (turned RGB)   32 bits, R G B A in memory order
//   PNG RGB                                   24 bits, R G B
//   PNG paletted, one fully transparent index 8 bits with its palette, that index the colour key
//   PNG paletted with other transparency      expanded to 32 bits RGBA
//   PNG grey with a transparent level         2 bytes, grey then alpha, under RGB masks
//   PNG grey                                  8 bits, a grey ramp as palette
//   JPEG                                      24 bits, R G B
// 16-bit channels are cut to 8, 1 to 4-bit pixels unpacked to a byte. libpng and libjpeg
// report errors by longjmp, so the decoding functions hold only plain data across setjmp.
// A picture larger than kMaxPictureSide on a side is refused from its header, before any
// surface or row is allocated: a few kilobytes can claim gigabytes (SDL 1.2 multiplies its
// sizes in int and its pitch is a Uint16, so it would not catch that itself).
#include <SDL.h>
#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>
#include <png.h>

#include "canvas/PictureLoader.h"

namespace
{
constexpr int kPngSignatureSize = 8;
constexpr int kBytesPerPixelAtMost = 4; // RGBA: the widest surface either decoder makes

static_assert(tarn::kMaxPictureSide <= 65535 / kBytesPerPixelAtMost,
              "a row's bytes must fit SDL 1.2's Uint16 pitch");
static_assert(static_cast<long long>(tarn::kMaxPictureSide) * tarn::kMaxPictureSide *
                      kBytesPerPixelAtMost <=
                  0x7FFFFFFF / 16,
              "a whole surface's bytes must fit an int with room to spare");

/// True, with "<name>: <w> x <h> pixels, more than <limit> on a side" as SDL's error, for a
/// picture too large to hold. (Both libraries refuse a side of 0 themselves.)
bool RefuseSize(const char* name, unsigned long width, unsigned long height)
{
    const unsigned long limit = tarn::kMaxPictureSide;
    if (width <= limit && height <= limit)
        return false;
    // Formatted here: SDL 1.2's SDL_SetError knows no long integers (and keeps 127 bytes).
    char message[200];
    SDL_snprintf(message, sizeof message, "%s: %lu x %lu pixels, more than %lu on a side", name,
                 width, height, limit);
    SDL_SetError("%s", message);
    return true;
}

void ReadPngBytes(png_structp png, png_bytep data, png_size_t size)
{
    SDL_RWops* source = static_cast<SDL_RWops*>(png_get_io_ptr(png));
    if (SDL_RWread(source, data, 1, static_cast<int>(size)) != static_cast<int>(size))
        png_error(png, "the file ends early");
}

void PngError(png_structp png, png_const_charp message)
{
    SDL_SetError("PNG: %s", message);
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

/// Ends the decoding with SDL's own reason for the failure that just happened (copied: the
/// error handler sets SDL's error anew from it).
[[noreturn]] void PngFailWithSdlError(png_structp png)
{
    char reason[256];
    SDL_snprintf(reason, sizeof reason, "%s", SDL_GetError());
    png_error(png, reason);
}

SDL_Surface* LoadPng(SDL_RWops* source, const char* name)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info)
    {
        png_destroy_read_struct(&png, nullptr, nullptr);
        SDL_SetError("PNG: out of memory");
        return nullptr;
    }
    SDL_Surface* volatile surface = nullptr;
    png_bytep* volatile rows = nullptr;
    if (setjmp(png_jmpbuf(png)))
    {
        SDL_free(rows);
        if (surface)
            SDL_FreeSurface(surface);
        png_destroy_read_struct(&png, &info, nullptr);
        return nullptr;
    }
    png_set_read_fn(png, source, ReadPngBytes);
    // libpng's own limit (a million pixels a side) would refuse some sizes before ours, with
    // a message that does not say the size.
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int depth = 0, type = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &type, nullptr, nullptr, nullptr);
    if (RefuseSize(name, width, height))
    {
        png_destroy_read_struct(&png, &info, nullptr);
        return nullptr;
    }

    png_set_strip_16(png);
    png_set_packing(png);
    if (type == PNG_COLOR_TYPE_GRAY)
        png_set_expand(png); // grey levels of 1 to 4 bits scaled to 0 ... 255
    int key = -1;
    png_color_16p keyColour = nullptr;
    if (png_get_valid(png, info, PNG_INFO_tRNS))
    {
        png_bytep alphas = nullptr;
        int count = 0;
        png_get_tRNS(png, info, &alphas, &count, &keyColour);
        if (type == PNG_COLOR_TYPE_PALETTE)
        {
            // A colour key only when exactly one index is transparent and all others opaque.
            int transparent = -1, i = 0;
            for (; i < count; ++i)
                if (alphas[i] == 0 && transparent < 0)
                    transparent = i;
                else if (alphas[i] != 255)
                    break;
            if (i == count)
                key = transparent;
            else
                png_set_expand(png);
        }
        else
            key = 0; // the mapped colour is set once the surface exists
    }
    if (type == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_read_update_info(png, info);
    png_get_IHDR(png, info, &width, &height, &depth, &type, nullptr, nullptr, nullptr);

    const int channels = png_get_channels(png, info);
    Uint32 r = 0, g = 0, b = 0, a = 0;
    if (type != PNG_COLOR_TYPE_PALETTE)
    {
        r = 0x000000FF;
        g = 0x0000FF00;
        b = 0x00FF0000;
        a = channels == 4 ? 0xFF000000 : 0;
    }
    surface = SDL_CreateRGBSurface(SDL_SWSURFACE, static_cast<int>(width), static_cast<int>(height),
                                   depth * channels, r, g, b, a);
    if (!surface)
        PngFailWithSdlError(png);
    // The transformations chosen above must give rows of the surface's width, or
    // png_read_image would write past them.
    if (png_get_rowbytes(png, info) > static_cast<size_t>(surface->pitch))
        png_error(png, "a decoded row is wider than the surface");
    if (key != -1)
    {
        if (type != PNG_COLOR_TYPE_PALETTE)
            key = static_cast<int>(SDL_MapRGB(surface->format, static_cast<Uint8>(keyColour->red),
                                              static_cast<Uint8>(keyColour->green),
                                              static_cast<Uint8>(keyColour->blue)));
        SDL_SetColorKey(surface, SDL_SRCCOLORKEY, static_cast<Uint32>(key));
    }
    rows = static_cast<png_bytep*>(SDL_malloc(sizeof(png_bytep) * height)); // height >= 1
    if (!rows)
    {
        SDL_OutOfMemory();
        PngFailWithSdlError(png);
    }
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = static_cast<png_bytep>(surface->pixels) + size_t{y} * surface->pitch;
    png_read_image(png, rows);

    if (SDL_Palette* palette = surface->format->palette)
    {
        if (type == PNG_COLOR_TYPE_GRAY)
        {
            palette->ncolors = 256;
            for (int i = 0; i < 256; ++i)
                palette->colors[i].r = palette->colors[i].g = palette->colors[i].b =
                    static_cast<Uint8>(i);
        }
        else
        {
            png_colorp colours = nullptr;
            int count = 0;
            png_get_PLTE(png, info, &colours, &count);
            if (count > 0)
                palette->ncolors = count;
            for (int i = 0; i < count; ++i)
            {
                palette->colors[i].r = colours[i].red;
                palette->colors[i].g = colours[i].green;
                palette->colors[i].b = colours[i].blue;
            }
        }
    }
    SDL_free(rows);
    png_destroy_read_struct(&png, &info, nullptr);
    return surface;
}

// libjpeg reads through this source manager straight from the SDL stream.
struct SJpegSource
{
    jpeg_source_mgr m_Manager;
    SDL_RWops* m_Stream;
    JOCTET m_Buffer[4096];
};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillBuffer(j_decompress_ptr info)
{
    SJpegSource* source = reinterpret_cast<SJpegSource*>(info->src);
    int count = SDL_RWread(source->m_Stream, source->m_Buffer, 1, sizeof source->m_Buffer);
    if (count <= 0) // a cut file: an end marker, so that libjpeg finishes with what it has
    {
        source->m_Buffer[0] = 0xFF;
        source->m_Buffer[1] = JPEG_EOI;
        count = 2;
    }
    source->m_Manager.next_input_byte = source->m_Buffer;
    source->m_Manager.bytes_in_buffer = static_cast<size_t>(count);
    return TRUE;
}

void SkipInput(j_decompress_ptr info, long count)
{
    if (count <= 0) // libjpeg's contract: nothing to skip (and no negative step back)
        return;
    jpeg_source_mgr* manager = info->src;
    while (count > static_cast<long>(manager->bytes_in_buffer))
    {
        count -= static_cast<long>(manager->bytes_in_buffer);
        FillBuffer(info);
    }
    manager->next_input_byte += count;
    manager->bytes_in_buffer -= static_cast<size_t>(count);
}

struct SJpegError
{
    jpeg_error_mgr m_Manager;
    jmp_buf m_Escape;
};

void JpegExit(j_common_ptr info)
{
    char message[JMSG_LENGTH_MAX];
    info->err->format_message(info, message);
    SDL_SetError("JPEG: %s", message);
    longjmp(reinterpret_cast<SJpegError*>(info->err)->m_Escape, 1);
}

void JpegMessage(j_common_ptr) {}

SDL_Surface* LoadJpeg(SDL_RWops* stream, const char* name)
{
    jpeg_decompress_struct info;
    SJpegError error;
    info.err = jpeg_std_error(&error.m_Manager);
    error.m_Manager.error_exit = JpegExit;
    error.m_Manager.output_message = JpegMessage;
    SDL_Surface* volatile surface = nullptr;
    if (setjmp(error.m_Escape))
    {
        jpeg_destroy_decompress(&info);
        if (surface)
            SDL_FreeSurface(surface);
        return nullptr;
    }
    jpeg_create_decompress(&info);
    SJpegSource* source = static_cast<SJpegSource*>((*info.mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(&info), JPOOL_PERMANENT, sizeof(SJpegSource)));
    source->m_Manager.init_source = InitSource;
    source->m_Manager.fill_input_buffer = FillBuffer;
    source->m_Manager.skip_input_data = SkipInput;
    source->m_Manager.resync_to_restart = jpeg_resync_to_restart;
    source->m_Manager.term_source = TermSource;
    source->m_Manager.bytes_in_buffer = 0;
    source->m_Manager.next_input_byte = nullptr;
    source->m_Stream = stream;
    info.src = &source->m_Manager;

    jpeg_read_header(&info, TRUE);
    if (RefuseSize(name, info.image_width, info.image_height))
    {
        jpeg_destroy_decompress(&info);
        return nullptr;
    }
    const bool cmyk = info.num_components == 4;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    info.quantize_colors = FALSE;
    jpeg_calc_output_dimensions(&info);
    const int w = static_cast<int>(info.output_width), h = static_cast<int>(info.output_height);
    surface = cmyk ? SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00,
                                          0x000000FF, 0xFF000000)
                   : SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0x0000FF, 0x00FF00, 0xFF0000, 0);
    if (!surface)
    {
        jpeg_destroy_decompress(&info); // SDL's error says why; libjpeg's cleanup sets none
        return nullptr;
    }
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height)
    {
        JSAMPROW row =
            static_cast<JSAMPROW>(surface->pixels) + size_t{info.output_scanline} * surface->pitch;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return surface;
}

bool IsJpeg(SDL_RWops* source)
{
    const int start = SDL_RWtell(source);
    Uint8 magic[2] = {0, 0};
    const bool jpeg = SDL_RWread(source, magic, 1, 2) == 2 && magic[0] == 0xFF && magic[1] == 0xD8;
    SDL_RWseek(source, start, RW_SEEK_SET);
    return jpeg;
}
} // namespace

namespace tarn
{
bool IsPngPicture(SDL_RWops* source)
{
    if (!source)
        return false;
    const int start = SDL_RWtell(source);
    png_byte magic[kPngSignatureSize];
    const bool png = SDL_RWread(source, magic, 1, kPngSignatureSize) == kPngSignatureSize &&
                     png_sig_cmp(magic, 0, kPngSignatureSize) == 0;
    SDL_RWseek(source, start, RW_SEEK_SET);
    return png;
}

SDL_Surface* LoadPicture(SDL_RWops* source, bool closeSource, const char* name)
{
    if (!source)
        return nullptr; // SDL_RWFromFile has said why
    if (!name)
        name = "picture";
    const int start = SDL_RWtell(source);
    SDL_Surface* surface = nullptr;
    if (IsPngPicture(source))
        surface = LoadPng(source, name);
    else if (IsJpeg(source))
        surface = LoadJpeg(source, name);
    else
        SDL_SetError("Unsupported image format");
    if (!surface)
        SDL_RWseek(source, start, RW_SEEK_SET);
    if (closeSource)
        SDL_RWclose(source);
    return surface;
}
} // namespace tarn
