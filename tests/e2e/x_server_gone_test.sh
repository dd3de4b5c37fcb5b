#!/usr/bin/env bash
# When the X server goes away under a running game (the session ends, the server crashes),
# the game ends too, with a non-zero status, within a few seconds: on the title and in play.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
game=$1
work=$(mktemp -d)
at_exit 'rm -rf "$work"'

title_gone() { ! title_shown "$work"; }
for when in title play; do
    in_xvfb
    start_game "$work/out-$when.txt" SDL_AUDIODRIVER=dummy
    wait_window || fail "no window ($when)"
    wait_for 20 title_shown "$work" || fail "the title did not show ($when)"
    if [ "$when" = play ]; then
        xdotool windowfocus --sync "$win" key Return 2>/dev/null
        wait_for 20 title_gone || fail "the title did not go"
        sleep 1
    fi
    kill "$xserver"
    wait_for 5 bash -c "! kill -0 $pid" || fail "the game still runs 5 s after its X server went away ($when)"
    wait "$pid"
    status=$?
    [ "$status" -ne 0 ] || fail "the game ended with 0 when its X server went away ($when)"
    echo "X server gone $when: the game ended with status $status: $(tail -n 1 "$work/out-$when.txt")"
done
echo "PASS: the game ends with a non-zero status when its X server goes away, on the title and in play"
