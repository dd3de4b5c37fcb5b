# Shared helpers for the end-to-end tests (the real game, a private X server, real X input).
# Whatever a script starts through them is ended when the script exits, however it ends.

E2E_PIDS=()    # programs to end on exit
E2E_AT_EXIT=() # commands to run on exit, after they are gone
e2e_cleanup() {
    local p c
    for p in "${E2E_PIDS[@]}"; do kill -9 "$p" 2>/dev/null && wait "$p" 2>/dev/null; done
    for c in "${E2E_AT_EXIT[@]}"; do eval "$c"; done
}
trap e2e_cleanup EXIT
trap 'exit 143' TERM INT HUP # so that the EXIT trap runs on these too

track() { E2E_PIDS+=("$@"); }
at_exit() { E2E_AT_EXIT+=("$1"); }

fail() { echo "FAIL: $*" >&2; exit 1; }

# wait_for <seconds> <command...>: polls the command every 0.1 s until it succeeds.
wait_for() {
    local deadline=$(( $(date +%s%N) + $1 * 1000000000 )); shift
    until "$@" >/dev/null 2>&1; do
        [ "$(date +%s%N)" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# in_xvfb [WxH]: a private X server (1280x1024 unless given) in $DISPLAY, its pid $xserver.
# -displayfd: it picks a free display itself; -noreset: a reset when the last client leaves
# would refuse SDL 1.2, which probes first.
in_xvfb() {
    local ready
    ready=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${1:-1280x1024}x24" -nolisten tcp -noreset 3>"$ready" >/dev/null 2>&1 &
    xserver=$! && track "$xserver"
    wait_for 20 test -s "$ready" || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$ready")"
    rm -f "$ready"
}

# start_game <log> [VAR=value...]: $game $game_args in the background here, output to <log>,
# its pid in $pid; run by $KORVANE_RUNNER if set (wine: its pid becomes the game's process).
start_game() {
    local log=$1; shift
    env "$@" ${KORVANE_RUNNER:-} "$game" ${game_args:-} >"$log" 2>&1 &
    pid=$! && track "$pid"
}

game_window() { xdotool search --name '^Korvane$' 2>/dev/null | head -n 1; }
has_game_window() { [ -n "$(game_window)" ]; }
# wait_window: waits for the game's window and keeps its id in $win for shot.
wait_window() { wait_for 20 has_game_window && win=$(game_window); }

# wait_exit <pid> <seconds>: waits for the process; returns its status, or fails on time-out.
wait_exit() { wait_for "$2" bash -c "! kill -0 $1" || fail "process $1 did not exit within ${2}s"; wait "$1"; }

# ends_with_0 <pid> <what>: the game ends within 10 s with status 0; else fails saying what.
ends_with_0() { wait_exit "$1" 10 || fail "$2: status $?"; }

# escape_until_gone <pid> <window>: Escape until the game ends (the first may only leave the
# title), ten seconds at most; the caller checks how it ended.
escape_until_gone() {
    for _ in $(seq 40); do
        kill -0 "$1" 2>/dev/null || return 0
        xdotool windowfocus --sync "$2" key Escape 2>/dev/null; sleep 0.25
    done
}

# Pictures: ImageMagick's own convert (a stand-in of that name may come first on PATH).
IM_CONVERT=/usr/bin/convert

# shot <file> [geometry]: the game's window ($win) or a part, wherever it was put; xwd grabs
# in milliseconds where import takes seconds while the game keeps the CPU busy.
shot() { xwd -id "$win" -silent 2>/dev/null | "$IM_CONVERT" xwd:- -crop "${2:-1024x768+0+0}" +repage "$1" 2>/dev/null; }

# rmse <a> <b>: normalised root-mean-square difference of two pictures, 0 ... 1.
rmse() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'; }

float_lt() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

# audio_rms_db <raw file>: RMS level of captured S16LE stereo 44.1 kHz audio in dB; -999 for
# digital silence, which sox calls -inf (awk would compare that word as text).
audio_rms_db() { sox -t raw -r 44100 -e signed -b 16 -c 2 "$1" -n stats 2>&1 | awk '/RMS lev dB/ { print ($4 == "-inf" ? -999 : $4) }'; }

# artifacts <name>: a folder for pictures a person can look at after the run.
artifacts() { local d=${KORVANE_ARTIFACTS:-/tmp/korvane-artifacts}/$1; mkdir -p "$d" && echo "$d"; }

# title_shown <work dir> [data root]: the window's middle shows the title's; cheap to poll.
title_shown() {
    local probe=256x192+384+288
    [ -f "$1/title-middle.png" ] ||
        "$IM_CONVERT" "${2:-data}/gfx/title_screen.jpg" -crop "$probe" +repage "$1/title-middle.png"
    shot "$1/title-probe.png" "$probe" &&
        float_lt "$(rmse "$1/title-probe.png" "$1/title-middle.png")" 0.08
}

# play_installed <work dir> <command> <close tool> <artifacts name>: two runs from an empty
# folder must show the whole title; Escape ends the first, the close button the second, with 0.
play_installed() {
    local work=$1 command=$2 close_window=$3 out run
    out=$(artifacts "$4")
    mkdir -p "$work/empty"
    "$IM_CONVERT" data/gfx/title_screen.jpg "$work/title.png"
    whole_title() { shot "$work/seen.png" && float_lt "$(rmse "$work/seen.png" "$work/title.png")" 0.01; }
    for run in escape close; do
        (cd "$work/empty" && SDL_AUDIODRIVER=dummy exec "$command") >"$work/$run.txt" 2>&1 &
        pid=$! && track "$pid"
        wait_window || { cat "$work/$run.txt"; fail "$command: no window"; }
        wait_for 20 whole_title || { shot "$out/$run-no-title.png"; cat "$work/$run.txt"; fail "$command: no title picture"; }
        echo "$command shows its title (RMSE $(rmse "$work/seen.png" "$work/title.png") to the picture)"
        if [ "$run" = escape ]; then cp "$work/seen.png" "$out/title.png" && escape_until_gone "$pid" "$win"; else "$close_window" "$win"; fi
        ends_with_0 "$pid" "$command, ended by $run"
    done
}
