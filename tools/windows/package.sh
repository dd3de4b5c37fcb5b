#!/usr/bin/env bash
# What a Windows player downloads, from the cross-built game in <build>/game:
#   <build>/Korvane-<version>-win64/        the folder (exe, DLLs, data, licences, README.txt)
#   <build>/Korvane-<version>-win64.zip     that folder, zipped
#   <build>/Korvane-<version>-win64-setup.exe   the NSIS installer of the same files
# Stops if the exe or a DLL beside it imports a DLL that is neither shipped nor Windows' own.
# Usage: package.sh <build dir>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
prefix=$build/deps/prefix
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/game/CMakeCache.txt")
name=Korvane-$version-win64
stage=$build/$name
rm -rf "$stage" "$build/$name.zip" && mkdir -p "$stage/licences"

x86_64-w64-mingw32-strip -o "$stage/korvane.exe" "$build/game/korvane.exe"
x86_64-w64-mingw32-strip -o "$stage/SDL.dll" "$prefix/bin/SDL.dll"
x86_64-w64-mingw32-strip -o "$stage/SDL_mixer.dll" "$prefix/bin/SDL_mixer.dll"
mkdir -p "$stage/data" && cp -r "$root/data/gfx" "$root/data/sfx" "$stage/data/"
sed 's/$/\r/' "$root/LICENSE" >"$stage/LICENSE.txt"
# The libraries' terms, as Debian records them for each source package (the exe links the
# decoders and the compiler's runtime in; SDL and SDL_mixer are the DLLs).
for package in libsdl1.2 sdl-mixer1.2 libogg libvorbis libpng1.6 libjpeg-turbo zlib; do
    sed 's/$/\r/' "$build/deps/src/$package/debian/copyright" >"$stage/licences/$package.txt"
done
sed 's/$/\r/' /usr/share/doc/mingw-w64-x86-64-dev/copyright >"$stage/licences/mingw-w64.txt"
sed 's/$/\r/' /usr/share/doc/gcc-mingw-w64-base/copyright >"$stage/licences/gcc-runtime.txt"
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' "$here/README.txt.in" >"$stage/README.txt"

# Self-contained: every import is shipped here or is a DLL every Windows has.
system='^(kernel32|user32|gdi32|advapi32|msvcrt|winmm|opengl32|glu32|shell32|ole32|imm32|version|dxguid|ddraw|dsound)\.dll$'
for binary in "$stage"/*.exe "$stage"/*.dll; do
    for dll in $(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^\s*DLL Name: //p'); do
        lower=$(echo "$dll" | tr 'A-Z' 'a-z')
        [ -f "$stage/$dll" ] || [[ $lower =~ $system ]] ||
            { echo "$(basename "$binary") needs $dll, which is neither shipped nor Windows' own"; exit 1; }
    done
done

(cd "$build" && zip -qr -X "$name.zip" "$name")
# The installer lists the files it installs, so that removal takes exactly those away.
files=$build/installer-files.nsh
: >"$files"
(cd "$stage" && find . -type d | sort | sed 's|^\./\?||') | while read -r d; do
    echo "SetOutPath \"\$INSTDIR${d:+\\${d//\//\\}}\"" >>"$files"
    (cd "$stage/${d:-.}" && find . -maxdepth 1 -type f | sort | sed 's|^\./||') | while read -r f; do
        echo "File \"$stage/${d:+$d/}$f\"" >>"$files"
        echo "Delete \"\$INSTDIR\\${d:+${d//\//\\}\\}$f\"" >>"$build/uninstaller-files.nsh.tmp"
    done
done
(cd "$stage" && find . -mindepth 1 -type d | sort -r | sed 's|^\./||') |
    while read -r d; do echo "RMDir \"\$INSTDIR\\${d//\//\\}\""; done >>"$build/uninstaller-files.nsh.tmp"
mv "$build/uninstaller-files.nsh.tmp" "$build/uninstaller-files.nsh"
size=$(du -sk "$stage" | cut -f1)
makensis -V2 -WX -DVERSION="$version" -DICON="$build/game/korvane.ico" -DFILES="$files" \
    -DREMOVE="$build/uninstaller-files.nsh" -DSIZE_KB="$size" \
    -DOUTFILE="$build/$name-setup.exe" "$here/installer.nsi"
ls -l "$build/$name.zip" "$build/$name-setup.exe"
