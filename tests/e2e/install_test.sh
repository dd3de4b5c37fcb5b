#!/usr/bin/env bash
# `cmake --install` into a prefix holding a space and a quote, and through DESTDIR: where
# everything lands, the command started from an empty folder and its message without data.
# The build's install_manifest.txt (docs/building.md's removal reads it) is put back afterwards.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
build=$(cd "$(dirname "$1")" && pwd)
close_window=$2
work=$(mktemp -d)
manifest=$build/install_manifest.txt
[ -f "$manifest" ] && cp "$manifest" "$work/manifest.saved"
at_exit 'if [ -f "$work/manifest.saved" ]; then cp "$work/manifest.saved" "$manifest"; else rm -f "$manifest"; fi'
at_exit 'rm -rf "$work"'
in_xvfb

prefix="$work/Kor vane's games"
cmake --install "$build" --prefix "$prefix" >"$work/install.txt" 2>&1 ||
    { cat "$work/install.txt"; fail "cmake --install failed"; }
data=$prefix/share/korvane
# Each file is named by the check that reads it; the command and the game run below.
for dir in gfx sfx; do
    diff -r "data/$dir" "$data/data/$dir" >/dev/null || fail "installed data/$dir differs from the repository's"
done
for size in 32x32 48x48 64x64 128x128 256x256; do
    [ "$(identify -format '%wx%h' "$prefix/share/icons/hicolor/$size/apps/korvane.png" 2>/dev/null)" = "$size" ] || fail "no $size icon"
done
man6=$prefix/share/man/man6/korvane.6
head -n 1 "$man6" | grep -q '^\.TH KORVANE 6' || fail "the man page has no .TH KORVANE 6 header"
grep -qF "$data" "$man6" || fail "the man page does not name the installed data folder"
! grep -q "@" "$man6" || fail "the man page has an unfilled @...@ placeholder"
for option in fullscreen help version; do grep -qF -- "\-\-$option" "$man6" || fail "the man page does not list --$option"; done
bash "$here/options_test.sh" "$prefix/bin/korvane" || fail "the installed command's options"
desktop=$prefix/share/applications/korvane.desktop
[ "$(sed -n 's/^Exec=//p' "$desktop")" = "\"$prefix/bin/korvane\"" ] || fail "Exec= does not name the installed command, quoted"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the menu entry"
appstreamcli validate --no-net "$prefix/share/metainfo/org.korvane.korvane.metainfo.xml" >"$work/appstream.txt" 2>&1 ||
    { cat "$work/appstream.txt"; fail "appstreamcli rejects the metainfo"; }
# docs/building.md's removal deletes what the manifest lists: that must be every file installed.
diff <(find "$prefix" -type f | sort) <(sort "$manifest") || fail "install_manifest.txt misses installed files"

# DESTDIR: the files go below it, the command and the entry name the final places.
DESTDIR=$work/stage cmake --install "$build" --prefix /usr >/dev/null 2>&1 || fail "install with DESTDIR failed"
grep -qx "data_root='/usr/share/korvane'" "$work/stage/usr/bin/korvane" &&
    grep -qx "game='/usr/libexec/korvane/korvane'" "$work/stage/usr/bin/korvane" &&
    grep -qx 'Exec=/usr/bin/korvane' "$work/stage/usr/share/applications/korvane.desktop" ||
    fail "the DESTDIR install names the staging folder, not /usr"

play_installed "$work" "$prefix/bin/korvane" "$close_window" install

# Without its data the command says so and fails, rather than start a game with no pictures.
mv "$data/data" "$work/data"
"$prefix/bin/korvane" >"$work/out.txt" 2>"$work/err.txt" && status=0 || status=$?
[ "$status" -ne 0 ] && grep -qF "$data" "$work/err.txt" && [ ! -s "$work/out.txt" ] ||
    fail "without data: status $status, stderr '$(cat "$work/err.txt")'"
echo "without data: status $status, $(cat "$work/err.txt")"
echo "PASS: installed layout, menu entry, metainfo, icons and man page; the command starts the game from anywhere"
