#!/usr/bin/env bash
# The game as a player meets it, from the real binary: one 1024 x 768 window titled Korvane
# shows the title with music; Escape leaves it for the note wall with the score at 0; the
# arrows move the figure; Space fires shots seen and heard; closing the window exits 0.
# (A clear raising the score: the in-process play-through.) Screenshots: $KORVANE_ARTIFACTS/play/.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
game=$1
close_window=$2
out=$(artifacts play)
rm -f "$out"/*.png
work=$(mktemp -d)
at_exit 'rm -rf "$work"'
in_xvfb
wall() { python3 "$here/wall.py" "$@"; }

# Polls use an uncompressed picture (a PNG takes half a second); keep saves the last as PNG.
probe=$work/probe.pam
n=0
look() { shot "$probe"; }
keep() { n=$((n + 1)); "$IM_CONVERT" "$probe" "$(printf '%s/%02d-%s.png' "$out" "$n" "$1")"; }

# A delay of one mixer buffer per write keeps the capture near the wall clock.
audio=$work/audio.raw
mark() { stat -c %s "$audio" 2>/dev/null || echo 0; }
start_audio_game() {
    rm -f "$audio"
    start_game "$work/out.txt" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio" SDL_DISKAUDIODELAY=46
    wait_window || { cat "$work/out.txt"; fail "no window titled Korvane"; }
}

# --- The title with its music; Escape leaves it, and the wall comes with the score at 0.
# The title goes by itself after 5 s, and an Escape after that ends the game: only an Escape
# sent within 4 s of the start is surely the title's. Too late, the game starts again (3 tries).
"$IM_CONVERT" data/gfx/title_screen.jpg "$work/title.png"
difference=-
title_seen() { look && difference=$(rmse "$probe" "$work/title.png") && float_lt "$difference" 0.05; }
for try in 1 2 3; do
    started=$(date +%s%N)
    start_audio_game
    wait_for 20 title_seen || { keep no-title; fail "the window does not show the title picture (RMSE $difference)"; }
    late=$(( ($(date +%s%N) - started) / 1000000 ))
    [ "$late" -ge 4000 ] || { xdotool windowfocus --sync "$win" key Escape 2>/dev/null; escaped=$(mark); break; }
    echo "the title was seen only ${late} ms after the start: too late to be sure of it, starting again"
    kill "$pid" && wait "$pid" 2>/dev/null
    [ "$try" -lt 3 ] || fail "the title was not seen within 4 s of the start in three tries"
done
keep title
[ "$(xdotool search --name '^Korvane$' | wc -l)" -eq 1 ] || fail "more than one Korvane window"
[ "$(xwininfo -id "$win" | awk '/Width|Height/ { printf "%s ", $2 }')" = "1024 768 " ] ||
    fail "the window is not 1024 x 768"
head -c "$escaped" "$audio" >"$work/title.raw"
level=$(audio_rms_db "$work/title.raw")
float_lt -50 "${level:--999}" || fail "the music is silent on the title (RMS ${level} dB)"
echo "[${SECONDS} s] title shown ${late} ms after the start (RMSE $difference to the picture), music at ${level} dB RMS"
share=- colours=- digit=- fit=-
wall_shown() {
    kill -0 "$pid" 2>/dev/null || return 0 # said below
    look && read -r digit fit < <(wall score "$probe" data) && [ "$digit" = 0 ] &&
        float_lt "$fit" 20 && read -r share colours < <(wall notes "$probe") &&
        awk -v s="$share" -v c="$colours" 'BEGIN { exit !(s > 0.8 && c >= 4) }'
}
wait_for 20 wall_shown || { keep no-wall; fail "no note wall with score 0 after Escape on the title (share $share, $colours colours, digit $digit, fit $fit)"; }
kill -0 "$pid" 2>/dev/null || fail "Escape on the title ended the game"
keep wall
echo "[${SECONDS} s] note wall: $share of the window in $colours note colours, score label reads 0"

# alive: the player is on the wall; if not seen for a few looks (a shot killed it, or the
# overlays hide it), Right and Down start a new game or nudge it back in. px, py: last seen.
player_at() {
    local x y
    look && read -r x y _ < <(wall player "$probe") && [ "$x" != none ] && px=$x py=$y
}
alive() {
    local misses=0 keys=(Right Down)
    until player_at; do
        misses=$((misses + 1))
        [ "$misses" -lt 3 ] || { xdotool key "${keys[misses % 2]}"; sleep 0.2; }
        [ "$misses" -lt 80 ] || return 1
    done
}

# --- The arrows. move <x key> <y key> <dx> <dy> <back x> <back y>: holds both until the
# figure has moved 64 px along each, first walking it back if it has under 128 px of room.
# A player killed on the way starts a new game and the move is tried again.
room() { (( ($1 > 0 ? 992 - px : px) >= 128 && ($2 > 0 ? 736 - py : py) >= 128 )); }
moved() { (( (px - x0) * $1 >= 64 && (py - y0) * $2 >= 64 )); }
hold_until() { # <key> <key> <condition...>, for at most 30 s
    local keys=("$1" "$2") deadline=$(( $(date +%s) + 30 ))
    shift 2
    xdotool keydown "${keys[@]}"
    until player_at && "$@" || [ "$(date +%s)" -ge "$deadline" ]; do :; done
    xdotool keyup "${keys[@]}"
}
move() {
    local try
    for try in 1 2 3; do
        alive || fail "the player did not come back"
        room "$3" "$4" || { hold_until "$5" "$6" room "$3" "$4"; alive || continue; }
        x0=$px y0=$py
        hold_until "$1" "$2" moved "$3" "$4"
        moved "$3" "$4" || continue
        keep "moved-$1-$2"
        echo "$1 and $2 moved the player from ($x0, $y0) to ($px, $py)"
        return 0
    done
    fail "$1 and $2 did not move the player (last at $px, $py)"
}
move Right Down 1 1 Left Up
move Left Up -1 -1 Right Down

# --- Space: shot notes fly right of the figure and the shot sound is heard, against a
# stretch without firing as the baseline. A player hit while firing fires again in a new game.
heard() {
    read -r quiet fire < <(python3 "$here/sound.py" "$audio" "$quiet_from" "$quiet_to" "$fire_from" "$(mark)")
    [ "$fire" -ge $((2 * quiet + 2)) ]
}
firing() { # true once shots are seen and heard, or once the figure is gone for 5 looks
    if player_at; then misses=0; else misses=$((misses + 1)); fi
    [ "$misses" -lt 5 ] || return 0
    [ "$seen" = 0 ] && [ "$(wall shots "$probe" $((sx + 64)) $((sy + 32)))" -ge 24 ] && { seen=1; keep shots; }
    [ "$seen" = 1 ] && heard
}
for try in 1 2 3; do
    alive || fail "the player did not come back"
    quiet_from=$(mark)
    sleep 1.5
    quiet_to=$(mark)
    alive || fail "the player did not come back"
    sx=$px sy=$py fire_from=$(mark) misses=0 seen=0
    xdotool keydown space
    wait_for 30 firing
    xdotool keyup space
    [ "$misses" -ge 5 ] || break
    echo "the player was hit while firing (try $try); a new game"
done
[ "$misses" -lt 5 ] || fail "the player was hit while firing in three games"
[ "$seen" = 1 ] || { keep no-shots; fail "no shot notes right of the player while Space is held"; }
heard || fail "no shot sound while firing ($quiet loud windows without firing, $fire firing)"
echo "[${SECONDS} s] shots seen; loud windows in the shot band: $quiet without firing, $fire while firing"

"$close_window" "$win" || fail "could not send the close request"
ends_with_0 "$pid" "closing the window in play"
echo "[${SECONDS} s] PASS: title with music, Escape leaves it, arrows move, Space fires and is heard, closing the window exits 0"
