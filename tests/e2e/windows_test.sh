#!/usr/bin/env bash
# windows_test.sh <build-windows folder>: the Windows game under Wine as a player gets it.
# The unpacked zip through the Linux game's player's, no-sound and full-screen scenarios and
# a fatal error, leaving its folder as it was; the setup program silently into a fresh
# prefix, the shortcut, the installed game, and removal of everything.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
build=$(cd "$1" && pwd)
work=$(mktemp -d)
# Each prefix's wineserver ended and waited for first: it would write into a removed prefix.
at_exit 'for p in "$work/wine" "$work/wine-setup"; do WINEPREFIX=$p wineserver -k; WINEPREFIX=$p wineserver -w; done 2>/dev/null; rm -rf "$work"'
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d"
export KORVANE_RUNNER=wine KORVANE_ARTIFACTS=${KORVANE_ARTIFACTS:-$build/test-artifacts}
g++ -O2 -o "$work/send_wm_delete" "$here/SendWmDelete.cpp" -lX11 || fail "send_wm_delete did not build"

started=$SECONDS
wineboot -i >/dev/null 2>&1 && wineserver -w || fail "wineboot could not make a Wine prefix"
echo "[$((SECONDS - started)) s] fresh Wine prefix"

zip=$(ls "$build"/Korvane-*-win64.zip) || fail "no zip in $build (make windows)"
unzip -q "$zip" -d "$work/zip"
game_dir=$(ls -d "$work"/zip/Korvane-*-win64)
listing() { (cd "$1" && find . -printf '%p %s %T@\n' | sort); }
listing "$game_dir" >"$work/before.txt"
for test in "play_test.sh korvane.exe $work/send_wm_delete" "no_audio_test.sh korvane.exe" \
    "fullscreen_test.sh korvane.exe"; do
    (cd "$game_dir" && bash $here/$test) || fail "${test%% *} of the Windows game"
    wineserver -w
done

# --- A fatal start-up error: from a console, the message and status 1; as from Explorer
# (start /wait: no console nor standard handles), the same in a box titled Korvane, the only
# window, which Enter dismisses, with the same status.
(
    cd "$game_dir" && in_xvfb
    SDL_VIDEODRIVER=nonexistent wine korvane.exe >"$work/console.txt" 2>&1 && console=0 || console=$?
    [ "$console" -ne 0 ] && grep -q . "$work/console.txt" || fail "console: status $console, '$(cat "$work/console.txt")'"
    (SDL_VIDEODRIVER=nonexistent exec wine start /wait korvane.exe </dev/null >/dev/null 2>&1) &
    pid=$! && track "$pid"
    wait_window || fail "no window titled Korvane without a console"
    [ "$(xdotool search --name . getwindowname %@ 2>/dev/null | grep -vc 'Default IME')" = 1 ] ||
        fail "more windows than the message box"
    xwd -root -silent | "$IM_CONVERT" xwd:- "$(artifacts windows-error)/message-box.png"
    xdotool windowfocus --sync "$win" key Return
    wait_exit "$pid" 20 && boxed=0 || boxed=$?
    [ "$boxed" = "$console" ] || fail "status $boxed with the message box, $console from the console"
    echo "a fatal start-up error: '$(cat "$work/console.txt")', status $console; the same in a box titled Korvane"
) || exit 1
wineserver -w
listing "$game_dir" | diff "$work/before.txt" - || fail "the game changed its folder"
echo "[$((SECONDS - started)) s] the unpacked zip passed the player's, no-sound, full-screen and fatal-error scenarios"

# --- The setup program, into a fresh prefix.
export WINEPREFIX=$work/wine-setup
wineboot -i >/dev/null 2>&1 && wineserver -w || fail "wineboot could not make a Wine prefix"
setup=$(ls "$build"/Korvane-*-win64-setup.exe) || fail "no setup program in $build"
wine "$setup" /S || fail "the setup program failed"
wineserver -w
installed="$WINEPREFIX/drive_c/Program Files/Korvane"
link="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Korvane.lnk"
diff <(cd "$game_dir" && find . | sort) <(cd "$installed" && find . ! -name uninstall.exe | sort) ||
    fail "the installed files differ from the zip's"
[ -f "$link" ] || fail "no Start-menu shortcut"
folder=$(python3 "$here/lnk.py" "$link")
[ "$folder" = 'C:\Program Files\Korvane' ] || fail "the shortcut starts in '$folder'"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvane'
wine reg query "$key" /v UninstallString 2>/dev/null | grep -q 'uninstall.exe' || fail "no uninstall entry"
echo "[$((SECONDS - started)) s] installed; the shortcut starts in $folder"

in_xvfb
printf '#!/bin/sh\ncd "%s" && exec wine korvane.exe\n' "$installed" >"$work/korvane" # as the shortcut
chmod +x "$work/korvane"
cd "$here/../.." && play_installed "$work/installed" "$work/korvane" "$work/send_wm_delete" windows-installed
wineserver -w
wine "$installed/uninstall.exe" /S
wineserver -w # the uninstaller finishes from a copy of itself and returns at once
[ ! -e "$installed" ] || { find "$installed"; fail "files left after removal"; }
[ ! -e "$link" ] || fail "the shortcut is left after removal"
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstall entry is left after removal"
echo "[$((SECONDS - started)) s] PASS: the Windows game, unpacked and installed, under Wine"
