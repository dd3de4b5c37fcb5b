#!/usr/bin/env bash
# Fault injection of the real game: fault_injection.sh <game> [quick|full]
#
# Each case is its own run of the binary in a private copy of data/, under one Xvfb:
#   data      every file under data/ in turn missing, truncated to half its size, and
#             replaced by garbage of the same size (full; quick takes four of them)
#   no-audio  an audio driver that does not exist
#   no-x      no DISPLAY, on a pseudo-terminal (SDL 1.2 falls back to its text-mode
#             driver): exits non-zero with the video message, terminal settings unchanged
#             and the alternate screen left
#   odd-dir   the current folder's name has spaces and non-ASCII letters
#   read-only the current folder and data/ cannot be written (full only)
#   monkey    a minute of random keys and clicks (full only; MONKEY_SECONDS)
# A playing case dismisses the title with a click, holds fire and moves for a few
# seconds, then quits with Escape: it passes when the window came up and the game ended
# with status 0, neither crashing nor hanging. Prints one table row per case; the
# table goes to $KORVANE_ARTIFACTS/fault-injection/matrix.md too. Exit status 1 if any
# case failed.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
game=$(readlink -f "$1")
mode=${2:-quick}
root=$(cd "$here/../.." && pwd)
out=$(artifacts fault-injection)
work=$(mktemp -d)
matrix=$out/matrix.md
failures=0
at_exit 'umount "$work/ro" 2>/dev/null; chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"'
in_xvfb

printf '| case | outcome | notes |\n|---|---|---|\n' >"$matrix"

record() { # <case> <PASS|FAIL> <notes>
    printf '| %s | %s | %s |\n' "$1" "$2" "$3" | tee -a "$matrix"
    [ "$2" = PASS ] || failures=$((failures + 1))
}

# garbage <file>: the same number of bytes, drawn from a fixed seed so runs repeat.
garbage() {
    local size
    size=$(stat -c %s "$1")
    openssl enc -aes-128-ctr -nosalt -pass pass:korvane -pbkdf2 </dev/zero 2>/dev/null |
        head -c "$size" >"$1"
}

# play <case> <folder> [env assignments...]: runs the game in that folder and plays a bit.
play() {
    local name=$1 dir=$2; shift 2
    local log=$out/$(tr -c 'A-Za-z0-9_.-' _ <<<"$name").log
    (cd "$dir" && exec env SDL_AUDIODRIVER=dummy "$@" "$game") >"$log" 2>&1 &
    local pid=$!
    track "$pid"
    if ! wait_for 20 has_game_window; then
        kill -9 "$pid" 2>/dev/null
        wait "$pid"
        record "$name" FAIL "no window (status $?)"
        return
    fi
    local win
    win=$(game_window)
    xdotool windowfocus --sync "$win" 2>/dev/null
    xdotool mousemove --window "$win" 512 384 click 1 2>/dev/null # leaves the title
    sleep 0.5
    xdotool keydown space 2>/dev/null
    for key in Up Up Down Down Down Up; do
        xdotool key --delay 150 "$key" 2>/dev/null
        sleep 0.3
    done
    xdotool keyup space 2>/dev/null
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; record "$name" FAIL "ended by itself (status $?)"; return; }
    escape_until_gone "$pid" "$win"
    if ! wait_for 10 bash -c "! kill -0 $pid"; then
        kill -9 "$pid" 2>/dev/null
        wait "$pid"
        record "$name" FAIL "hung: did not quit on Escape"
        return
    fi
    wait "$pid"
    local status=$?
    local notes
    notes=$(grep -c "Couldn't load\|Mix_LoadMUS" "$log")
    notes="load failures reported: $notes"
    grep -q 'ERROR: AddressSanitizer\|runtime error' "$log" && status=99
    if [ "$status" -eq 0 ]; then
        record "$name" PASS "played, Escape quit with 0; $notes"
    else
        record "$name" FAIL "exit status $status; $notes; see $log"
    fi
}

fresh_copy() { # <folder>: a copy of data/ in a new folder of that name
    mkdir -p "$1" && cp -r "$root/data" "$1/"
}

data_case() { # <file relative to data/> <missing|truncated|garbage>
    local dir=$work/case
    chmod -R u+w "$dir" 2>/dev/null
    rm -rf "$dir"
    fresh_copy "$dir"
    local file=$dir/data/$1
    case $2 in
    missing) rm -f "$file" ;;
    truncated) truncate -s $(($(stat -c %s "$file") / 2)) "$file" ;;
    garbage) garbage "$file" ;;
    esac
    play "data/$1 $2" "$dir"
}

no_display_case() {
    local dir=$work/nox
    fresh_copy "$dir"
    # The game runs in the foreground of a pseudo-terminal, as from a shell prompt.
    (cd "$dir" && TERM=xterm script -qec \
        "stty -a >before; env -u DISPLAY SDL_AUDIODRIVER=dummy timeout --foreground 20 '$game' 2>err; echo \$? >status; stty -a >after" \
        /dev/null >transcript </dev/null)
    local status
    status=$(cat "$dir/status" 2>/dev/null || echo none)
    cp "$dir/transcript" "$out/no-x-transcript.bin" 2>/dev/null
    local problems=""
    [ "$status" != 0 ] && [ "$status" != 124 ] && [ "$status" != none ] || problems+=" exit status $status;"
    grep -Eq '^Video (initialization|mode set) failed: ' "$dir/err" || problems+=" no video message;"
    cmp -s "$dir/before" "$dir/after" || problems+=" terminal settings changed;"
    # A text-mode driver that switched to the alternate screen must have left it again.
    local screen
    screen=$(grep -ao $'\e\\[?1049[hl]' "$dir/transcript" | tail -n 1)
    [ -z "$screen" ] || [ "$screen" = $'\e[?1049l' ] || problems+=" alternate screen not left;"
    if [ -z "$problems" ]; then
        record "no X display (pty)" PASS "exit $status, \"$(head -n 1 "$dir/err")\", stty unchanged, screen restored"
    else
        record "no X display (pty)" FAIL "$problems"
    fi
}

odd_dir_case() {
    local dir="$work/dossier été ünïcødé/with  spaces"
    fresh_copy "$dir"
    play "odd current folder" "$dir"
}

read_only_case() {
    local dir=$work/ro
    fresh_copy "$dir"
    if [ "$(id -u)" = 0 ] && mount --bind -o ro "$dir" "$dir" 2>/dev/null; then
        play "read-only current folder (ro bind mount)" "$dir"
        umount "$dir"
    else
        chmod -R a-w "$dir"
        play "read-only current folder (no write permission)" "$dir"
    fi
}

monkey_case() {
    local seconds=${MONKEY_SECONDS:-60}
    local dir=$work/monkey
    fresh_copy "$dir"
    local log=$out/monkey.log
    (cd "$dir" && exec env SDL_AUDIODRIVER=dummy "$game") >"$log" 2>&1 &
    local pid=$!
    track "$pid"
    wait_for 20 has_game_window || { kill -9 "$pid"; wait "$pid"; record "random keys and clicks" FAIL "no window"; return; }
    local win
    win=$(game_window)
    # Every key but Escape, which would end the run early.
    local keys=(Up Down Left Right space Return a s d w q x z 1 2 F1 F5 Tab BackSpace
        Shift_L Control_L Alt_L Home End Prior Next KP_Enter Menu)
    local end=$((SECONDS + seconds)) events=0
    RANDOM=7
    while [ $SECONDS -lt $end ] && kill -0 "$pid" 2>/dev/null; do
        case $((RANDOM % 5)) in
        0) xdotool mousemove --window "$win" $((RANDOM % 1024)) $((RANDOM % 768)) click $((RANDOM % 3 + 1)) ;;
        1) xdotool keydown "${keys[RANDOM % ${#keys[@]}]}" ;;
        2) xdotool keyup "${keys[RANDOM % ${#keys[@]}]}" ;;
        *) xdotool key "${keys[RANDOM % ${#keys[@]}]}" ;;
        esac 2>/dev/null
        events=$((events + 1))
        sleep 0.0$((RANDOM % 10))
    done
    for key in "${keys[@]}"; do xdotool keyup "$key" 2>/dev/null; done
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid"
        record "random keys and clicks" FAIL "ended during the run (status $?) after $events events"
        return
    fi
    escape_until_gone "$pid" "$win"
    if ! wait_for 10 bash -c "! kill -0 $pid"; then
        kill -9 "$pid"; wait "$pid"
        record "random keys and clicks" FAIL "hung after $events events"
        return
    fi
    wait "$pid"
    local status=$?
    if [ "$status" -eq 0 ]; then
        record "random keys and clicks" PASS "${seconds} s, $events events, still running, Escape quit with 0"
    else
        record "random keys and clicks" FAIL "exit status $status after $events events"
    fi
}

if [ "$mode" = full ]; then
    while IFS= read -r file; do
        for fault in missing truncated garbage; do
            data_case "$file" "$fault"
        done
    done < <(cd "$root/data" && find . -type f | sed 's|^\./||' | sort)
    dir=$work/na
    fresh_copy "$dir"
    play "no audio device" "$dir" SDL_AUDIODRIVER=no-such-driver
    no_display_case
    odd_dir_case
    read_only_case
    monkey_case
else
    data_case gfx/it_guy.png missing
    data_case gfx/title_screen.jpg truncated
    data_case sfx/explosion_sound.wav garbage
    data_case sfx/Ondrafel.ogg garbage
    no_display_case
    odd_dir_case
fi

echo "matrix: $matrix"
[ "$failures" -eq 0 ] || fail "$failures fault-injection case(s) failed"
echo "PASS: every fault-injection case ($mode)"
