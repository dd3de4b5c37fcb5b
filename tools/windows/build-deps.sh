#!/usr/bin/env bash
# Cross-builds everything the Windows game links from Debian's own source packages, at the
# versions this Debian release ships, into <build>/prefix:
#   zlib, libpng, libjpeg-turbo, libogg, libvorbis   static (linked into the exe or the mixer)
#   SDL 1.2, SDL_mixer 1.2                           DLLs (LGPL: a player may replace them)
#   GoogleTest                                       static, for the test programs
# The sources come through apt from a private configuration under <build>/apt: the system's
# own deb lines, turned into deb-src, with lists and cache of its own; nothing of the
# system's apt set-up changes, and apt checks every file against the signed index.
# Each library leaves a stamp; a second run rebuilds only what has no stamp.
# Usage: build-deps.sh <build dir>
set -euo pipefail
build=$(mkdir -p "$1" && cd "$1" && pwd)
host=x86_64-w64-mingw32
prefix=$build/prefix
src=$build/src
stamps=$build/stamps
jobs=$(nproc 2>/dev/null || echo 2)
mkdir -p "$prefix" "$src" "$stamps"
export PATH=$prefix/bin:$PATH
export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig
export CC=$host-gcc-posix CXX=$host-g++-posix AR=$host-ar RANLIB=$host-ranlib RC=$host-windres
export CFLAGS="-O2" CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib"

release=$(. /etc/os-release && echo "$VERSION_CODENAME")
say() { echo "[windows deps $(date +%H:%M:%S)] $*"; }

# --- The private apt configuration: every deb entry of the system's sources, as deb-src.
apt_dir=$build/apt
apt_opts=(-o Dir::Etc::sourcelist=/dev/null -o Dir::Etc::sourceparts="$apt_dir/sources.list.d"
          -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache"
          -o APT::Sandbox::User=root)
if [ ! -f "$stamps/apt" ]; then
    rm -rf "$apt_dir" && mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" \
        "$apt_dir/cache/archives/partial"
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f"
    done >"$apt_dir/sources.list.d/system.list"
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] && sed 's/^Types:.*$/Types: deb-src/' "$f" >"$apt_dir/sources.list.d/$(basename "$f")"
    done
    say "apt-get update (private lists in $apt_dir)"
    apt-get "${apt_opts[@]}" update >"$build/apt-update.log" 2>&1 ||
        { cat "$build/apt-update.log"; exit 1; }
    touch "$stamps/apt"
fi

# fetch <source package>: its Debian source, unpacked with Debian's patches into
# $src/<package>; prints that folder.
fetch() {
    local dir=$src/$1
    if [ ! -f "$dir/.unpacked" ]; then
        rm -rf "$dir" "$src/$1.dl" && mkdir -p "$src/$1.dl"
        # The newest first; where its files are not served (the security archive's sources
        # answer 404 here), the release's own version.
        (cd "$src/$1.dl" && { apt-get "${apt_opts[@]}" source --download-only "$1" ||
            { rm -f ./*; apt-get "${apt_opts[@]}" source --download-only -t "$release" "$1"; }; } \
            >"$src/$1.fetch.log" 2>&1) || { cat "$src/$1.fetch.log" >&2; exit 1; }
        dpkg-source -x "$src/$1.dl"/*.dsc "$dir" >"$src/$1.dl/unpack.log" 2>&1 ||
            { cat "$src/$1.dl/unpack.log" >&2; exit 1; }
        touch "$dir/.unpacked"
    fi
    echo "$dir"
}

# step <name> <function>: runs the function in its source folder unless its stamp holds the
# same function (a changed build step builds again); its output goes to <build>/log/<name>.log.
mkdir -p "$build/log"
step() {
    [ "$(cat "$stamps/$1" 2>/dev/null)" = "$(declare -f "$2")" ] && return 0
    local dir
    dir=$(fetch "$1")
    say "$1: $(basename "$(ls "$src/$1.dl"/*.dsc)" .dsc)"
    (cd "$dir" && "$2") >"$build/log/$1.log" 2>&1 || { tail -n 40 "$build/log/$1.log"; say "$1 failed"; exit 1; }
    declare -f "$2" >"$stamps/$1"
}

autotools() { # the usual cross configure, static unless told otherwise
    ./configure --host=$host --prefix="$prefix" --disable-shared --enable-static "$@"
    make -j"$jobs"
    make install
}

build_zlib() { # its Debian tarball has no win32/ folder: the plain configure, static
    CHOST=$host ./configure --static --prefix="$prefix"
    make -j"$jobs" libz.a
    make install
}
build_png() { autotools; }
build_jpeg() { # no nasm here: the C code paths only
    cmake -S . -B build-win -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=AMD64 \
        -DCMAKE_C_COMPILER=$CC -DCMAKE_RC_COMPILER=$RC -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DWITH_SIMD=OFF -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF
    cmake --build build-win -j"$jobs"
    cmake --install build-win
}
build_ogg() { autotools; }
build_vorbis() { autotools --disable-docs --disable-examples --disable-oggtest; }
build_sdl() {
    # Debian's patch keeps -lmingw32 -lSDLmain -mwindows out of sdl-config and sdl.pc, which
    # Windows programs need (undefined WinMain otherwise): undone here.
    patch -R -p1 <debian/patches/dont_propagate_lpthread.diff
    # Without --disable-stdio-redirect every start writes stdout.txt beside the exe.
    ./configure --host=$host --prefix="$prefix" --enable-shared --disable-static \
        --disable-stdio-redirect --disable-nasm --disable-rpath
    make -j"$jobs"
    make install
}
build_mixer() { # Ogg Vorbis and WAV only, Vorbis linked in (not loaded at run time)
    # The static vorbisfile needs vorbis and ogg after it, or configure finds no Vorbis.
    LIBS="-lvorbis -logg" ./configure --host=$host --prefix="$prefix" --enable-shared --disable-static \
        --with-sdl-prefix="$prefix" --disable-sdltest --enable-music-wave --enable-music-ogg \
        --disable-music-ogg-shared --disable-music-mod --disable-music-midi \
        --disable-music-mp3 --disable-music-flac --disable-music-mp3-mad-gpl
    make install-hdrs install-lib # the library alone: its demo programs are not needed
}

build_gtest() { # for the test programs only
    rm -rf build-win
    cmake -S . -B build-win -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_C_COMPILER=$CC \
        -DCMAKE_CXX_COMPILER=$CXX -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=ON
    cmake --build build-win -j"$jobs"
    cmake --install build-win
}

step zlib build_zlib
step libpng1.6 build_png
step libjpeg-turbo build_jpeg
step libogg build_ogg
step libvorbis build_vorbis
step libsdl1.2 build_sdl
step sdl-mixer1.2 build_mixer
step googletest build_gtest
say "done: $prefix"
