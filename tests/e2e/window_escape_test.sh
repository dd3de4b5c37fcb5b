#!/usr/bin/env bash
# The game opens one 1024 x 768 window titled "Korvane" and Escape ends it with status 0.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
in_xvfb "$0" "$@"
game=$1

SDL_AUDIODRIVER=dummy "$game" >/tmp/korvane-e2e-$$.out 2>&1 &
pid=$!
wait_for 20 has_game_window || fail "no window titled Korvane appeared"
[ "$(xdotool search --name '^Korvane$' | wc -l)" -eq 1 ] || fail "more than one Korvane window"
win=$(game_window)
geometry=$(xwininfo -id "$win")
grep -q 'Width: 1024' <<<"$geometry" || fail "window width is not 1024: $geometry"
grep -q 'Height: 768' <<<"$geometry" || fail "window height is not 768: $geometry"

# Escape may first only leave the title screen; keep pressing until the game ends.
for _ in $(seq 40); do
    kill -0 "$pid" 2>/dev/null || break
    xdotool windowfocus --sync "$win" 2>/dev/null
    xdotool key Escape 2>/dev/null
    sleep 0.25
done
wait_exit "$pid" 10
status=$?
[ "$status" -eq 0 ] || { cat /tmp/korvane-e2e-$$.out; fail "exit status $status, expected 0"; }
rm -f /tmp/korvane-e2e-$$.out
echo "PASS: window 1024x768 titled Korvane, Escape exits 0"
