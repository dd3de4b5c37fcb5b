#!/usr/bin/env bash
# Installs the game into a temporary prefix (and once more through DESTDIR, as a package
# build does), checks where everything lands, validates the menu entry, then starts the
# installed game the way the menu entry does (in its Path=, running its Exec=) and checks
# that it finds its data: the title picture fills the window.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
build=$(cd "$(dirname "$1")" && pwd)
work=$(mktemp -d)
at_exit 'rm -rf "$work"'
in_xvfb

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.txt" 2>&1 ||
    { cat "$work/install.txt"; fail "cmake --install failed"; }

# The installed files, by the usual layout below the prefix.
desktop=$prefix/share/applications/korvane.desktop
for f in bin/korvane share/korvane/data/gfx/title_screen.jpg share/korvane/data/gfx/it_guy.png \
    share/korvane/data/sfx/Ondrafel.ogg share/korvane/data/sfx/fire_07.wav \
    share/applications/korvane.desktop share/icons/hicolor/128x128/apps/korvane.png \
    share/man/man6/korvane.6; do
    [ -f "$prefix/$f" ] || fail "not installed: $f"
done
[ -x "$prefix/bin/korvane" ] || fail "the installed game is not executable"
for dir in gfx sfx; do
    diff -r "data/$dir" "$prefix/share/korvane/data/$dir" >/dev/null || fail "installed data/$dir differs from the repository's"
done
[ "$(identify -format '%wx%h' "$prefix/share/icons/hicolor/128x128/apps/korvane.png")" = 128x128 ] ||
    fail "the icon is not 128 x 128"
man6=$prefix/share/man/man6/korvane.6
head -n 1 "$man6" | grep -q '^\.TH KORVANE 6' || fail "the man page has no .TH KORVANE 6 header"
grep -q "$prefix/share/korvane" "$man6" || fail "the man page does not name the installed data folder"
! grep -q "@" "$man6" || fail "the man page has an unfilled @...@ placeholder"

entry() { sed -n "s/^$1=//p" "$desktop"; }
exec_line=$(entry Exec) path=$(entry Path)
[ "$exec_line" = "$prefix/bin/korvane" ] || fail "Exec= is '$exec_line', not the installed game"
[ "$path" = "$prefix/share/korvane" ] || fail "Path= is '$path', not the folder that holds data/"
[ "$(entry Icon)" = korvane ] || fail "Icon= is not korvane"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the menu entry"
else
    echo "desktop-file-validate not found (package desktop-file-utils): entry not validated"
fi

# DESTDIR: the files go below it, the entry still names the final places.
DESTDIR=$work/stage cmake --install "$build" --prefix /usr >/dev/null 2>&1 || fail "install with DESTDIR failed"
[ -x "$work/stage/usr/bin/korvane" ] && [ -f "$work/stage/usr/share/korvane/data/gfx/title_screen.jpg" ] ||
    fail "DESTDIR install misplaced the game or its data"
grep -qx 'Exec=/usr/bin/korvane' "$work/stage/usr/share/applications/korvane.desktop" &&
    grep -qx 'Path=/usr/share/korvane' "$work/stage/usr/share/applications/korvane.desktop" ||
    fail "the DESTDIR entry does not name /usr/bin/korvane in /usr/share/korvane"

# Start it as the menu does: from its Path=, far from the repository and its build.
title_reference=$work/title.png
"$IM_CONVERT" data/gfx/title_screen.jpg "$title_reference"
(cd "$path" && SDL_AUDIODRIVER=dummy exec "$exec_line") >"$work/out.txt" 2>&1 &
pid=$!
track "$pid"
wait_window || { cat "$work/out.txt"; fail "the installed game opened no window"; }
title_seen() { shot "$work/seen.png" && float_lt "$(rmse "$work/seen.png" "$title_reference")" 0.05; }
wait_for 20 title_seen || { shot "$(artifacts install)/no-title.png"; cat "$work/out.txt"; fail "the installed game did not show its title picture"; }
shot "$(artifacts install)/installed-title.png"
echo "the installed game shows its title (RMSE $(rmse "$work/seen.png" "$title_reference") to the picture)"
xdotool windowfocus --sync "$win" 2>/dev/null
xdotool key Escape
sleep 0.5
xdotool key Escape
wait_exit "$pid" 10
status=$?
[ "$status" -eq 0 ] || fail "the installed game ended with status $status"
echo "PASS: binary, data, menu entry, icon and man page installed; the game starts from its entry"
