#!/usr/bin/env bash
# A dismissing key on the title brings the note wall: the window fills with notes in the
# wall's colours, the score label reads 0 at the top right, and the creature slides in
# from the right over the next seconds.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
in_xvfb "$0" "$@"
game=$1
out=$(artifacts wall)
rm -f "$out"/*.png
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
wall() { python3 "$here/wall.py" "$@"; }
probe=$work/probe.pam
look() { shot "$probe"; }
keep() { "$IM_CONVERT" "$probe" "$out/$1.png"; }

SDL_AUDIODRIVER=dummy "$game" >"$work/out.txt" 2>&1 &
pid=$!
wait_for 20 has_game_window || fail "no game window"
xdotool windowfocus --sync "$(game_window)" 2>/dev/null
wait_for 20 title_shown "$work" || fail "the title did not show"
look && keep 1-title
# Space is one of the dismissing keys; it is also the fire key once the game runs.
t0=$(date +%s%N)
xdotool key space

# The wall: the score label reading 0 (the title, itself a picture of notes, has none),
# most of the window in note colours, several of them. The first frames show the dark
# canvas the star layer fades in from, so wait for the colours to settle.
share=- colours=- digit=- fit=-
wall_shown() {
    look && read -r digit fit < <(wall score "$probe" data) &&
        [ "$digit" = 0 ] && float_lt "$fit" 20 &&
        read -r share colours < <(wall notes "$probe") &&
        awk -v s="$share" -v c="$colours" 'BEGIN { exit !(s > 0.8 && c >= 4) }'
}
wait_for 20 wall_shown || { keep no-wall; fail "no note wall with score 0 after the key (share $share, $colours colours; score digit $digit, fit $fit)"; }
keep 2-wall
echo "note wall $(( ($(date +%s%N) - t0) / 1000000 )) ms after the key: ${share} of the window in note colours, $colours colours; score label reads 0 (mean difference $fit per channel)"

# The creature: first seen at the right edge, then further left as it slides in.
first=none
creature_at() { look && x=$(wall creature "$probe" 480) && [ "$x" != none ]; }
wait_for 20 creature_at || { keep no-creature; fail "no creature came in from the right"; }
first=$x
keep 3-creature-enters
[ "$first" -ge 700 ] || fail "the creature first showed at x=$first, not at the right edge"
creature_left() { creature_at && [ "$x" -le $((first - 128)) ]; }
wait_for 20 creature_left || { keep creature-stuck; fail "the creature did not move left from x=$first (last $x)"; }
keep 4-creature-in
echo "creature entered: left edge at x=$first, then x=$x"
kill -0 "$pid" || fail "the game ended"
kill "$pid"
echo "PASS: note wall with score 0 after a key; the creature slides in from the right"
