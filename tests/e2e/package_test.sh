#!/usr/bin/env bash
# The Debian package as a player gets it: built (or reused while no source is newer),
# installed, started from an empty folder, removed and purged, leaving none of its files.
# It installs into this system: only as root with KORVANE_INSTALL_TESTS=1, else skipped.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
skip() { echo "SKIPPED: $*"; exit 77; }
[ "$(id -u)" = 0 ] || skip "installing a package needs root"
[ "${KORVANE_INSTALL_TESTS:-}" = 1 ] || skip "it installs into this system; KORVANE_INSTALL_TESTS=1 allows that"
! dpkg -s korvane >/dev/null 2>&1 || skip "korvane is installed here already, and the test would remove it"
build=$(cd "$(dirname "$1")" && pwd)
close_window=$2
work=$(mktemp -d)
# Through apt, which waits for a dpkg lock that another installer holds (dpkg would fail).
apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout="${DPKG_LOCK_WAIT:-600}" -y "$@"; }
at_exit 'dpkg -s korvane >/dev/null 2>&1 && apt_get purge korvane >/dev/null 2>&1'
at_exit 'rm -rf "$work"'
in_xvfb

debs=$build/deb
stamp=$debs/lintian-clean
# Any file git knows, or its folder (for added or deleted files), newer than the last good build.
newer_sources() {
    git ls-files -co --exclude-standard >"$work/sources.txt"
    xargs -r -d '\n' dirname <"$work/sources.txt" | sort -u >>"$work/sources.txt"
    xargs -r -d '\n' sh -c 'find "$@" -maxdepth 0 -newer "$0"' "$stamp" <"$work/sources.txt" 2>/dev/null | grep -q .
}
if [ -f "$stamp" ] && ! newer_sources; then
    echo "reusing the package built in $debs"
else
    bash dist/make-deb.sh "$debs" >"$work/deb.txt" 2>&1 || { tail -n 40 "$work/deb.txt"; fail "the package did not build or lintian found a fault"; }
fi
deb=$(ls "$debs"/korvane_*_"$(dpkg --print-architecture)".deb)

apt_get install "$deb" >"$work/dpkg.txt" 2>&1 || { cat "$work/dpkg.txt"; fail "the package did not install"; }
dpkg-query -W -f='${Status}' korvane | grep -q 'install ok installed' || { cat "$work/dpkg.txt"; fail "the package is not installed"; }
dpkg -L korvane >"$work/files.txt"
for f in /usr/games/korvane /usr/lib/games/korvane/korvane /usr/share/games/korvane/data/gfx/title_screen.jpg \
    /usr/share/games/korvane/data/sfx/Ondrafel.ogg /usr/share/applications/korvane.desktop \
    /usr/share/metainfo/org.korvane.korvane.metainfo.xml /usr/share/man/man6/korvane.6.gz \
    /usr/share/icons/hicolor/{32x32,48x48,64x64,128x128,256x256}/apps/korvane.png; do
    grep -qx "$f" "$work/files.txt" || fail "the package does not hold $f"
done
desktop-file-validate /usr/share/applications/korvane.desktop || fail "desktop-file-validate rejects the menu entry"
grep -qx 'Exec=/usr/games/korvane' /usr/share/applications/korvane.desktop || fail "the menu entry does not run /usr/games/korvane"
appstreamcli validate --no-net /usr/share/metainfo/org.korvane.korvane.metainfo.xml >"$work/appstream.txt" 2>&1 ||
    { cat "$work/appstream.txt"; fail "appstreamcli rejects the metainfo"; }
PATH=$PATH:/usr/games
[ "$(command -v korvane)" = /usr/games/korvane ] || fail "korvane on the PATH is $(command -v korvane), not /usr/games/korvane"

play_installed "$work" korvane "$close_window" package

# Every file the package listed goes; a folder may stay only while another package owns it.
left_behind() {
    while read -r path; do
        [ "$path" = /. ] || [ ! -e "$path" ] && continue
        [ -d "$path" ] && dpkg-query -S "$path" >/dev/null 2>&1 && continue
        echo "$path"
    done <"$work/files.txt"
}
apt_get remove korvane >/dev/null || fail "removing failed"
[ -z "$(left_behind)" ] || fail "left after removing: $(left_behind | tr '\n' ' ')"
# Without conffiles the removal forgot the package already: apt would not know what to purge.
! dpkg-query -W korvane >/dev/null 2>&1 || apt_get purge korvane >/dev/null 2>&1 || fail "purging failed"
! dpkg -s korvane >/dev/null 2>&1 || fail "dpkg still knows korvane after the purge"
[ -z "$(left_behind)" ] || fail "left after purging: $(left_behind | tr '\n' ' ')"
echo "PASS: $(basename "$deb") installs, starts from any folder, and removes and purges cleanly ($(wc -l <"$work/files.txt") paths)"
