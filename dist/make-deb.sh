#!/usr/bin/env bash
# make-deb.sh <folder>: builds the Debian package with Debian's own tools from a copy of the
# sources in <folder>/korvane, so no build folder of the working tree gets in. The .deb, the
# .changes and the .buildinfo land in <folder>; lintian then checks them, and any error or
# warning fails the build (<folder>/lintian-clean marks a build that passed).
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
rm -rf "$out/korvane" "$out"/korvane_* "$out"/korvane-dbgsym_* "$out/lintian-clean"
mkdir "$out/korvane"

# The files git knows, committed or not, less those deleted and those it ignores.
cd "$src"
git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do if [ -e "$f" ]; then printf '%s\0' "$f"; fi; done |
    tar --null -T - -cf - | tar -C "$out/korvane" -xf -

# A make above this one (make deb, make test) would hand dpkg-buildpackage its job server,
# and make test-compat's library path would send dpkg-shlibdeps to a library no package owns.
unset MAKEFLAGS MFLAGS MAKELEVEL LD_LIBRARY_PATH
case " ${DEB_BUILD_OPTIONS:-} " in
*" parallel="*) ;;
*) export DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:+$DEB_BUILD_OPTIONS }parallel=$(nproc)" ;;
esac
cd "$out/korvane"
dpkg-buildpackage -us -uc -b

# Every tag shown, down to pedantic and experimental ones; debian/*.lintian-overrides says
# why any of them stays. The stamp tells the package test that this build passed.
lintian --info --display-info --pedantic --display-experimental --fail-on error,warning \
    "$out"/korvane_*.changes
touch "$out/lintian-clean"
