#!/usr/bin/env bash
# Start-up of the real game binary, measured from outside: process start to the first title
# frame, and the dismissing key to the first gameplay frame. A preloaded shim
# (libswapstamp.so) stamps the buffer swaps and the key; the game itself is unchanged.
# Usage, from the repository root: bench/startup.sh [build dir] [runs]
# (it starts its own Xvfb unless DISPLAY is set).
set -u
build=${1:-build}
runs=${2:-5}
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$build" "$runs"
fi
game=$build/korvane
shim=$(pwd)/$build/bench/libswapstamp.so
[ -x "$game" ] && [ -f "$shim" ] || { echo "build $game and $shim first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

us() { echo "${1/[.,]/}"; } # $EPOCHREALTIME in microseconds (either decimal mark)
stamp() { sed -n "s/^stamp $1 //p" "$2" | head -n 1; }
wait_stamp() { # <name> <file> <seconds>
    local i
    for ((i = 0; i < $3 * 50; ++i)); do
        [ -n "$(stamp "$1" "$2")" ] && return 0
        sleep 0.02
    done
    return 1
}

echo "run  start->title_ms  key_sent->gameplay_ms  key_read->gameplay_ms"
for ((r = 1; r <= runs; ++r)); do
    log=$work/stderr-$r.txt
    start=$(us "$EPOCHREALTIME")
    SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} LD_PRELOAD=$shim "$game" >/dev/null 2>"$log" &
    pid=$!
    wait_stamp first-title-frame "$log" 20 || { echo "run $r: no title frame" >&2; kill "$pid"; exit 1; }
    sleep 0.5 # the title is up and idle, as a player would see it
    win=$(xdotool search --name '^Korvane$' | head -n 1)
    xdotool windowfocus --sync "$win" 2>/dev/null
    sent=$(us "$EPOCHREALTIME")
    xdotool key space
    wait_stamp first-gameplay-frame "$log" 20 || { echo "run $r: no gameplay frame" >&2; kill "$pid"; exit 1; }
    xdotool key Escape
    wait "$pid"
    title=$(stamp first-title-frame "$log")
    read_at=$(stamp key-read "$log")
    play=$(stamp first-gameplay-frame "$log")
    awk -v r="$r" -v s="$start" -v t="$title" -v k="$sent" -v kr="$read_at" -v p="$play" \
        'BEGIN { printf "%3d  %14.1f  %20.1f  %20.1f\n", r, (t - s) / 1000, (p - k) / 1000, (p - kr) / 1000 }'
done
