#!/usr/bin/env bash
# make faults for the Windows game: the unpacked zip's korvane.exe under Wine, in a Wine
# prefix of its own, fed its pictures missing, cut, garbage and claiming 16000 pixels a side
# by fault_injection.sh. Usage: windows_faults.sh <build-windows folder>
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
build=$(cd "$1" && pwd)
work=$(mktemp -d)
at_exit 'WINEPREFIX=$work/wine wineserver -k 2>/dev/null; WINEPREFIX=$work/wine wineserver -w; rm -rf "$work"'
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d" KORVANE_RUNNER=wine
export KORVANE_ARTIFACTS=${KORVANE_ARTIFACTS:-$build/test-artifacts}/windows
wineboot -i >/dev/null 2>&1 && wineserver -w || fail "wineboot could not make a Wine prefix"
unzip -q "$build"/Korvane-*-win64.zip -d "$work/zip" || fail "no zip in $build (make windows)"
# The title (a texture through the picture cache), the player (a canvas surface), a note.
FAULT_DATA_ONLY=1 FAULT_KINDS="missing truncated garbage huge" \
    FAULT_FILES="gfx/title_screen.jpg gfx/it_guy.png gfx/post-it-01.png" \
    bash "$here/fault_injection.sh" "$(ls "$work"/zip/Korvane-*-win64/korvane.exe)"
