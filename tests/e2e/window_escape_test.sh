#!/usr/bin/env bash
# The game opens one 1024 x 768 window titled "Korvane"; Escape leaves the title, and
# Escape during play ends the game with status 0.
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

# The first Escape only leaves the title; once the note wall (with its score label) is
# up, the second one ends the game.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
xdotool windowfocus --sync "$win" 2>/dev/null
wait_for 20 title_shown "$work" || fail "the title did not show"
xdotool key Escape
in_play() { shot "$work/wall.pam" && [ "$(python3 "$here/wall.py" score "$work/wall.pam" data | cut -d' ' -f1)" = 0 ]; }
wait_for 20 in_play || fail "Escape on the title did not lead to play"
kill -0 "$pid" 2>/dev/null || fail "Escape on the title ended the game"
"$IM_CONVERT" "$work/wall.pam" "$(artifacts escape)/in-play.png"
xdotool key Escape
wait_exit "$pid" 10
status=$?
[ "$status" -eq 0 ] || { cat /tmp/korvane-e2e-$$.out; fail "exit status $status, expected 0"; }
rm -f /tmp/korvane-e2e-$$.out
echo "PASS: window 1024x768 titled Korvane, Escape leaves the title, then exits 0 during play"
