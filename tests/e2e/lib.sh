# Shared helpers for the end-to-end tests: each test runs the real game binary in a
# private Xvfb server and drives it with real X input.

fail() { echo "FAIL: $*" >&2; exit 1; }

# wait_for <seconds> <command...>: polls the command every 0.1 s until it succeeds.
wait_for() {
    local limit=$1; shift
    local deadline=$(( $(date +%s%N) + limit * 1000000000 ))
    until "$@" >/dev/null 2>&1; do
        [ "$(date +%s%N)" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# game_window: the id of the window titled exactly "Korvane".
game_window() { xdotool search --name '^Korvane$' 2>/dev/null | head -n 1; }
has_game_window() { [ -n "$(game_window)" ]; }

# wait_exit <pid> <seconds>: waits for the process; prints its status, or fails on time-out.
wait_exit() {
    local pid=$1 limit=$2
    wait_for "$limit" bash -c "! kill -0 $pid" || { kill -9 "$pid" 2>/dev/null; fail "process $pid did not exit within ${limit}s"; }
    wait "$pid"
}

# escape_until_gone <pid> <window>: presses Escape until the game ends (the first press may
# only leave the title), for at most ten seconds; the caller checks how it ended.
escape_until_gone() {
    local pid=$1 win=$2
    for _ in $(seq 40); do
        kill -0 "$pid" 2>/dev/null || return 0
        xdotool windowfocus --sync "$win" key Escape 2>/dev/null
        sleep 0.25
    done
}

# in_xvfb <script> <args...>: re-runs a script inside its own Xvfb unless already there.
in_xvfb() {
    if [ -z "${KORVANE_IN_XVFB:-}" ]; then
        KORVANE_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$@"
    fi
}

# Pictures: ImageMagick's own convert (a stand-in of that name may come first on PATH).
IM_CONVERT=/usr/bin/convert

# shot <file> [geometry]: the 1024 x 768 game window, or a part of it (no window manager:
# the window sits at the top left). xwd grabs in milliseconds where import takes seconds
# while the game keeps the CPU busy.
shot() {
    local raw
    raw=$(mktemp --suffix=.xwd)
    xwd -root -silent >"$raw" 2>/dev/null &&
        "$IM_CONVERT" "xwd:$raw" -crop "${2:-1024x768+0+0}" +repage "$1" 2>/dev/null
    local status=$?
    rm -f "$raw"
    return $status
}

# mean_brightness <file>: 0 ... 1.
mean_brightness() { "$IM_CONVERT" "$1" -colorspace Gray -format '%[fx:mean]' info: 2>/dev/null; }

# rmse <a> <b>: normalised root-mean-square difference of two pictures, 0 ... 1.
rmse() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'; }

# float_lt <a> <b>: a < b.
float_lt() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

# audio_rms_db <raw file>: RMS level of captured S16LE stereo 44.1 kHz audio in dB.
audio_rms_db() {
    sox -t raw -r 44100 -e signed -b 16 -c 2 "$1" -n stats 2>&1 | awk '/RMS lev dB/ { print $4 }'
}

# artifacts <name>: a folder for pictures a person can look at after the run.
artifacts() {
    local dir=${KORVANE_ARTIFACTS:-/tmp/korvane-artifacts}/$1
    mkdir -p "$dir" && echo "$dir"
}

# title_shown <work dir>: the middle of the window shows the middle of the title picture.
# Cheap enough to poll.
title_shown() {
    local probe=256x192+384+288
    [ -f "$1/title-middle.png" ] ||
        "$IM_CONVERT" data/gfx/title_screen.jpg -crop "$probe" +repage "$1/title-middle.png"
    shot "$1/title-probe.png" "$probe" &&
        float_lt "$(rmse "$1/title-probe.png" "$1/title-middle.png")" 0.08
}
