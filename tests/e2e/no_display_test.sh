#!/usr/bin/env bash
# Without an X display the game cannot run: it says why on standard error and exits non-zero.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
game=$1
err=$(mktemp)
# SDL 1.2 may fall back to a text-mode driver; give it no terminal to draw on.
env -u DISPLAY SDL_AUDIODRIVER=dummy timeout 20 "$game" </dev/null >/dev/null 2>"$err"
status=$?
[ "$status" -ne 0 ] || fail "exit status 0 without a display"
[ "$status" -ne 124 ] || fail "the game hung without a display"
grep -Eq '^Video (initialization|mode set) failed: ' "$err" || { cat "$err"; fail "no video failure message"; }
rm -f "$err"
echo "PASS: no display exits $status with the video message"
