#!/usr/bin/env bash
# The controls as a player uses them: the arrow keys move the figure on the wall, Space
# fires (shot notes fly to the right and the shot sound is heard), and the shots reach the
# creature until it is cleared and the score turns to 1. Escape then ends the game with 0.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
in_xvfb "$0" "$@"
game=$1
out=$(artifacts controls)
rm -f "$out"/*.png
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
wall() { python3 "$here/wall.py" "$@"; }

audio=$work/audio.raw
# A delay of one mixer buffer (2048 frames at 44.1 kHz) per write keeps the capture in
# step with the wall clock, so file offsets mark moments of the run.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$audio SDL_DISKAUDIODELAY=46 "$game" >"$work/out.txt" 2>&1 &
pid=$!
wait_for 20 has_game_window || fail "no game window"
win=$(game_window)

# Polls use an uncompressed picture (a PNG takes half a second to write); keep saves the
# last one for a person to look at.
probe=$work/probe.pam
n=0
look() { shot "$probe"; }
keep() { n=$((n + 1)); "$IM_CONVERT" "$probe" "$(printf '%s/%02d-%s.png' "$out" "$n" "$1")"; }
player_at() { look && read -r px py _ < <(wall player "$probe") && [ "$px" != none ]; }

# alive: the player is on the wall. A level shot may have killed it (no figure for a few
# looks in a row; the dark overlays can hide it for a moment): then a key starts a new
# game. Right and Down also nudge a figure that ran off the left or top edge back in.
alive() {
    local misses=0 keys=(Right Down)
    until player_at; do
        misses=$((misses + 1))
        if [ "$misses" -ge 3 ]; then
            xdotool key "${keys[misses % 2]}"
            sleep 0.2
        fi
        [ "$misses" -lt 80 ] || return 1
    done
}

# Dismiss the title and wait for the wall with the player on it.
wall_shown() { look && [ "$(wall score "$probe" data | cut -d' ' -f1)" = 0 ] &&
    wall notes "$probe" | awk '{ exit !($1 > 0.8 && $2 >= 4) }'; }
xdotool windowfocus --sync "$win" 2>/dev/null
wait_for 20 title_shown "$work" || fail "the title did not show"
xdotool key Return
wait_for 20 wall_shown || fail "the note wall did not come after a dismissing key"
alive || fail "no player figure on the wall"
keep start
echo "player starts at ($px, $py)"
t0=$(date +%s)

# move <key> <dx> <dy>: holds the key until the figure has moved two cells (64 px) that
# way, lets go, and checks the other axis moved less than a cell and a half. A level shot
# may kill the player on the way: then a new game starts and the move is tried again.
# room <dx> <dy>: the figure has at least four cells of play area left that way (its centre
# stays within x -32 ... 992 and y -96 ... 736 on screen).
room() {
    awk -v x="$px" -v y="$py" -v dx="$1" -v dy="$2" 'BEGIN {
        r = dx > 0 ? 992 - x : dx < 0 ? x : dy > 0 ? 736 - y : y; exit !(r >= 128) }'
}

# make_room <back key> <dx> <dy>: a figure pushed against the edge it must move toward (a
# restart nudge or an earlier move may have put it there) is first walked back.
make_room() {
    local back=$1 dx=$2 dy=$3 deadline=$(( $(date +%s) + 10 ))
    room "$dx" "$dy" && return 0
    xdotool keydown "$back"
    while [ "$(date +%s)" -lt "$deadline" ]; do
        player_at && room "$dx" "$dy" && break
    done
    xdotool keyup "$back"
    alive
}

move() {
    local key=$1 dx=$2 dy=$3 back=$4 try x0 y0 moved deadline
    for try in 1 2 3; do
        alive || fail "the player did not come back"
        make_room "$back" "$dx" "$dy" || fail "the player did not come back"
        x0=$px y0=$py moved=no deadline=$(( $(date +%s) + 15 ))
        xdotool keydown "$key"
        while [ "$(date +%s)" -lt "$deadline" ]; do
            player_at || continue
            if awk -v x="$px" -v y="$py" -v x0="$x0" -v y0="$y0" -v dx="$dx" -v dy="$dy" \
                'BEGIN { exit !((x - x0) * dx + (y - y0) * dy >= 64) }'; then
                moved=yes; break
            fi
        done
        xdotool keyup "$key"
        if [ "$moved" = yes ]; then
            keep "moved-$key"
            awk -v x="$px" -v y="$py" -v x0="$x0" -v y0="$y0" -v dx="$dx" -v dy="$dy" \
                'BEGIN { d = dx ? y - y0 : x - x0; exit !(d < 48 && -d < 48) }' ||
                fail "$key moved the player across: ($x0, $y0) to ($px, $py)"
            echo "$key moved the player from ($x0, $y0) to ($px, $py)"
            return 0
        fi
    done
    fail "$key did not move the player (last at $px, $py)"
}
move Right 1 0 Left
move Left -1 0 Right
move Down 0 1 Up
move Up 0 -1 Down

# The same stretch of music without and with firing: the shots are heard.
mark() { stat -c %s "$audio"; }
alive || fail "the player did not come back"
quiet_from=$(mark)
sleep 1.5
quiet_to=$(mark)
alive || fail "the player did not come back"
sx=$px sy=$py
fire_from=$(mark)
xdotool keydown space
shots_seen() { look && [ "$(wall shots "$probe" $((sx + 64)) $((sy + 32)))" -ge 24 ]; }
wait_for 20 shots_seen || { xdotool keyup space; fail "no shot notes right of the player while Space is held"; }
keep shots
sleep 1.5
xdotool keyup space
fire_to=$(mark)
read -r quiet fire < <(python3 "$here/sound.py" "$audio" "$quiet_from" "$quiet_to" "$fire_from" "$fire_to")
echo "loud 50 ms windows in the shot band: $quiet without firing, $fire while firing"
[ "$fire" -ge 2 ] && [ "$fire" -ge $((2 * quiet + 2)) ] ||
    fail "no shot sound while firing ($quiet loud windows quiet, $fire firing)"

# Aim at the white core and fire until the creature is cleared: 2.5 s later the next
# creature comes and the score turns to 1. A level shot may kill the player first; then a
# key starts a new game and we aim again.
cleared=no
deadline=$(( $(date +%s) + 120 ))
while [ "$(date +%s)" -lt "$deadline" ]; do
    look && read -r px py _ core_y digit fit < <(wall aim "$probe" data)
    if [ "$digit" = 1 ]; then
        cleared=yes
        break
    fi
    if [ "$px" = none ]; then
        xdotool keyup space
        alive || break
        continue
    fi
    if [ "$core_y" != none ]; then
        # The shot leaves from the figure's gun, about 40 px below the middle of its green
        # body; a tap moves the figure by one cell.
        aim=$((core_y - py - 40))
        if [ "$aim" -gt 20 ]; then
            xdotool key Down
        elif [ "$aim" -lt -20 ]; then
            xdotool key Up
        fi
    fi
    xdotool keydown space
done
xdotool keyup space
[ "$cleared" = yes ] || fail "the shots never cleared the creature (score stayed 0)"
keep cleared
echo "the shots reached the creature: level cleared, score 1 (label fit $fit); $(( $(date +%s) - t0 )) s after the wall came"

xdotool key Escape
wait_exit "$pid" 10
status=$?
[ "$status" -eq 0 ] || fail "Escape during play: status $status"
echo "PASS: arrows move, Space fires with sound, shots clear the creature, Escape exits 0"
