#!/usr/bin/env bash
# Full screen on a 16:9 screen with a window manager (SDL 2 and Wine ask it for full screen):
# Alt+Enter on the title and --fullscreen show it in the middle 1200 x 900, bars black, then
# the wall; Alt+Enter gives back 1024 x 768; F11 in play keeps the figure's place and the score.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
game=$1
out=$(artifacts fullscreen)
rm -f "$out"/*.png
work=$(mktemp -d)
at_exit 'rm -rf "$work"'
in_xvfb 1600x900
evilwm -fn fixed >/dev/null 2>&1 & track $! # Xvfb's own font; the default one is not installed
wall() { python3 "$here/wall.py" "$@"; }

probe=$work/probe.pam
geometry() { xwininfo -id "$win" | awk '/Width|Height/ { printf "%s ", $NF }'; }
is_full() { [ "$(geometry)" = "1600 900 " ]; }
is_window() { [ "$(geometry)" = "1024 768 " ]; }
# The whole screen (classic SDL 1.2 draws into a window of its own over the titled one), the
# area brought back to 1024 x 768, and the bars' brightest channel.
look_full() { # one decoder run: under load every process counts against the title's 5 s
    xwd -root -silent >"$work/root.xwd" &&
        bars=$("$IM_CONVERT" "xwd:$work/root.xwd" -strip -write "$work/screen.pam" \
            \( +clone -crop 1200x900+200+0 +repage -resize 1024x768! -write "$probe" +delete \) \
            \( -clone 0 -crop 200x900+0+0 \) \( -clone 0 -crop 200x900+1400+0 \) -delete 0 +append \
            -format '%[fx:maxima.r+maxima.g+maxima.b]' info:) && [ "$bars" = 0 ]
}
look_window() { shot "$probe"; }
keep() { "$IM_CONVERT" "$probe" "$out/$1.png"; [ -f "$work/screen.pam" ] && "$IM_CONVERT" "$work/screen.pam" "$out/$1-screen.png"; rm -f "$work/screen.pam"; }
"$IM_CONVERT" data/gfx/title_screen.jpg "$work/title.png"
difference=- share=- colours=- bars=- digit=- fit=-
title_in() { "look_$1" && difference=$(rmse "$probe" "$work/title.png") && [ -n "$difference" ] && float_lt "$difference" 0.06; }
# The wall: notes all over and the score label reading 0 (the title is notes too).
wall_in() {
    "look_$1" && read -r digit fit < <(wall score "$probe" data) && [ "$digit" = 0 ] &&
        float_lt "$fit" 20 && read -r share colours < <(wall notes "$probe") &&
        awk -v s="$share" -v c="$colours" 'BEGIN { exit !(s > 0.8 && c >= 4) }'
}
key() { xdotool windowfocus --sync "$win" key "$1" 2>/dev/null; }

# full_title [--fullscreen]: starts the game and brings the title full screen, by Alt+Enter
# from the window or by the option. The title goes by itself after 5 s: a machine too busy
# to show it full screen by then starts the game again (three tries).
full_title() {
    local try
    for try in 1 2 3; do
        game_args=${1:-} start_game "$work/out.txt" SDL_AUDIODRIVER=dummy
        wait_window || { cat "$work/out.txt"; fail "${1:-Alt+Enter}: no window titled Korvane"; }
        if [ -z "${1:-}" ]; then
            wait_for 20 is_window || fail "the window is not 1024 x 768 at the start: $(geometry)"
            key alt+Return # at once: the title in the window is the player's test's
        fi
        wait_for 20 is_full || fail "${1:-Alt+Enter} did not give full screen: $(geometry)"
        wait_for 5 title_in full && return
        echo "${1:-Alt+Enter}: the title was gone before the full screen was seen (try $try)"
        kill "$pid" && wait "$pid" 2>/dev/null
    done
    keep no-full-title
    fail "${1:-Alt+Enter}: no title in the full screen's 4:3 area (RMSE $difference, bars $bars)"
}

full_title
keep full-title
echo "[${SECONDS} s] Alt+Enter: 1600 x 900 at 0 0, the title in the middle 1200 x 900 (RMSE $difference), bars black"
key space
wait_for 20 wall_in full || { keep no-full-wall; fail "no wall in the full screen (share $share, $colours colours, score $digit fit $fit, bars $bars)"; }
keep full-wall
echo "[${SECONDS} s] the wall in the full screen: $share of the area in $colours note colours, score reads $digit (misfit $fit)"

key alt+Return
wait_for 10 is_window || fail "Alt+Enter did not give back the 1024 x 768 window: $(geometry)"
wait_for 10 wall_in window || { keep no-window-wall; fail "no wall back in the window (share $share)"; }
keep window-wall

# --- F11 in play: the walked figure and the score stay (a level shot's hit: another try).
px=- py=-
player_at() { "look_$1" && read -r px py _ < <(wall player "$probe") && [ "$px" != none ]; }
still() { local x=$px y=$py; player_at "$1" && [ "$px $py" = "$x $y" ]; } # seen twice there
kept=0
for try in 1 2 3; do
    wait_for 20 player_at window || { keep no-player; fail "no figure on the wall"; }
    sx=$px sy=$py
    xdotool keydown Right Down sleep 1.5 keyup Right Down
    wait_for 10 still window || continue
    x0=$px y0=$py
    (( (x0 - sx) ** 2 + (y0 - sy) ** 2 >= 64 ** 2 )) || continue # not far enough to tell
    read -r digit0 _ < <(wall score "$probe" data)
    key F11
    wait_for 10 is_full || fail "F11 did not make the window full screen: $(geometry)"
    wait_for 10 player_at full && read -r digit _ < <(wall score "$probe" data) &&
        (( (px - x0) ** 2 + (py - y0) ** 2 <= 32 ** 2 )) && [ "$digit" = "$digit0" ] && { kept=1; break; }
    echo "figure at ($x0, $y0), score $digit0 before F11; at ($px, $py), score $digit after (try $try)"
    key F11
    wait_for 10 is_window || fail "F11 did not give back the window"
done
[ "$kept" = 1 ] || { keep moved; fail "no figure kept its place over F11 in three tries"; }
keep full-play
echo "[${SECONDS} s] F11 in play: the figure walked from ($sx, $sy) stays at ($x0, $y0) -> ($px, $py) in virtual pixels, score $digit"
escape_until_gone "$pid" "$win"
ends_with_0 "$pid" "Escape in the full screen"

full_title --fullscreen
keep start-title
escape_until_gone "$pid" "$win"
ends_with_0 "$pid" "Escape after --fullscreen"
echo "[${SECONDS} s] PASS: --fullscreen, Alt+Enter and F11 give the centred 1200 x 900 area with black bars and back"
