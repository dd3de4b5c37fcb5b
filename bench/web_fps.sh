#!/usr/bin/env bash
# Frames per second of the native game under Xvfb, then of the page in headless Chromium
# (tests/e2e/web_test.py, which also gives the time to the title), back to back, so both
# meet the same load. The native rate: between the 100-frame stamps of libswapstamp.so
# (bench/SwapStamp.cpp) in play, nobody at the keys.
# Usage, from the repository root: bench/web_fps.sh [build dir] [build-web dir]
set -u
build=${1:-build}
site=${2:-build-web}
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$build" "$site"
fi
shim=$(pwd)/$build/bench/libswapstamp.so
[ -x "$build/korvane" ] && [ -f "$shim" ] || { echo "build $build/korvane and $shim first" >&2; exit 1; }
log=$(mktemp)
trap 'rm -f "$log"' EXIT
SDL_AUDIODRIVER=dummy LD_PRELOAD=$shim "$build/korvane" >/dev/null 2>"$log" &
pid=$!
for _ in $(seq 200); do grep -q first-title-frame "$log" && break; sleep 0.1; done
xdotool search --sync --name '^Korvane$' windowfocus --sync key Return 2>/dev/null
for _ in $(seq 600); do [ "$(grep -c '^stamp 100-frames' "$log")" -ge 4 ] && break; sleep 0.1; done
kill "$pid"
wait "$pid" 2>/dev/null
sed -n 's/^stamp 100-frames //p' "$log" | awk 'NR == 1 { a = $1 } { b = $1; n = NR }
    END { if (n < 2) { print "native: fewer than 200 gameplay frames"; exit 1 }
          printf "native game under Xvfb: %.1f frames per second (%d frames)\n", (n - 1) * 100e6 / (b - a), (n - 1) * 100 }'
/usr/bin/python3 tests/e2e/web_test.py "$site" | grep -E 'title shown|frames per second'
