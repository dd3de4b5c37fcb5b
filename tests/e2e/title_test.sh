#!/usr/bin/env bash
# The first seconds as a player lives them, up to the title: the title picture fills the
# window at once with the music already playing; closing the window there ends the game
# with status 0; left alone, the title gives way to the game after five seconds, and
# closing the window during play ends it with status 0 too.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
in_xvfb "$0" "$@"
game=$1
close_window=$2
out=$(artifacts title)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

start_game() {
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio-$1.raw" SDL_DISKAUDIODELAY=20 \
        "$game" >"$work/stdout-$1.txt" 2>&1 &
    pid=$!
}

# The middle of the window against the middle of the title picture: cheap enough to poll.
probe=256x192+384+288
title_shown() {
    shot "$work/probe.png" "$probe" && float_lt "$(rmse "$work/probe.png" "$work/title-middle.png")" 0.08
}
title_gone() { ! title_shown; }

"$IM_CONVERT" data/gfx/title_screen.jpg "$work/title.png"
"$IM_CONVERT" "$work/title.png" -crop "$probe" +repage "$work/title-middle.png"

# Run 1: the title, the music, and the window closed on the title.
t0=$(date +%s%N)
start_game 1
wait_for 20 title_shown || { shot "$out/no-title.png"; fail "the title picture did not fill the window"; }
t1=$(date +%s%N)
echo "start-up to the first title frame: $(( (t1 - t0) / 1000000 )) ms (includes screenshot polling)"
shot "$out/1-title.png"
difference=$(rmse "$out/1-title.png" "$work/title.png")
float_lt "$difference" 0.05 || fail "the whole window differs from the title picture (RMSE $difference)"
sleep 1
level=$(audio_rms_db "$work/audio-1.raw")
echo "music level while the title shows: ${level} dB RMS"
float_lt -50 "${level:--999}" || fail "the music is silent on the title (RMS ${level} dB)"
"$close_window" "$(game_window)" || fail "could not send the close request"
wait_exit "$pid" 5
status=$?
[ "$status" -eq 0 ] || fail "closing the window on the title: status $status"

# Run 2: no input at all; after five seconds the game replaces the title.
t0=$(date +%s%N)
start_game 2
wait_for 20 title_shown || fail "the title did not show in the second run"
wait_for 20 title_gone || fail "the title never went away by itself"
elapsed=$(( ($(date +%s%N) - t0) / 1000000 ))
echo "the title gave way after ${elapsed} ms without input"
[ "$elapsed" -ge 5000 ] || fail "the title went away after ${elapsed} ms, before its five seconds"
# What replaced it is the note wall: the score label reading 0 and notes in wall colours.
wall_shown() {
    shot "$work/wall.pam" && [ "$(python3 "$here/wall.py" score "$work/wall.pam" data | cut -d' ' -f1)" = 0 ] &&
        python3 "$here/wall.py" notes "$work/wall.pam" | awk '{ exit !($1 > 0.8 && $2 >= 4) }'
}
wait_for 20 wall_shown || { shot "$out/2-no-wall.png"; fail "no note wall after the time-out"; }
"$IM_CONVERT" "$work/wall.pam" "$out/2-after-timeout.png"
kill -0 "$pid" 2>/dev/null || fail "the game ended after the title timed out"
"$close_window" "$(game_window)" || fail "could not send the close request"
wait_exit "$pid" 5
status=$?
[ "$status" -eq 0 ] || fail "closing the window during play: status $status"
echo "PASS: title at once with music, closes with 0 on the title and in play, times out by itself"
