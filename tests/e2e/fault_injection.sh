#!/usr/bin/env bash
# fault_injection.sh <game> (make faults), each case in its own copy of data/: every file
# missing, halved, garbage; no audio device; no DISPLAY on a pty; odd and read-only current
# folders; random input (MONKEY_SECONDS). A played case (click, fire, move, Escape) passes on
# a window, status 0 and every unreadable picture named. FAULT_FILES, FAULT_KINDS (also huge:
# claiming 16000 px a side), FAULT_DATA_ONLY=1 choose a part; KORVANE_RUNNER runs the game.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
game=$(readlink -f "$1")
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

# launch <case> <folder> [VAR=value...]: the game in that folder; $pid, $win and $log set.
launch() {
    local name=$1 dir=$2; shift 2
    log=$out/$(tr -c 'A-Za-z0-9_.-' _ <<<"$name").log
    (cd "$dir" && exec env SDL_AUDIODRIVER=dummy "$@" ${KORVANE_RUNNER:-} "$game") >"$log" 2>&1 &
    pid=$! && track "$pid"
    wait_window
}

# finish <case> <notes>: the game must still run, and end with 0 on Escape.
finish() {
    local name=$1 notes=$2 status
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; record "$name" FAIL "ended by itself (status $?); $notes"; return; }
    escape_until_gone "$pid" "$win"
    wait_for 10 bash -c "! kill -0 $pid" || { kill -9 "$pid"; record "$name" FAIL "hung: did not quit on Escape"; return; }
    wait "$pid" && status=0 || status=$?
    grep -q 'ERROR: AddressSanitizer\|runtime error' "$log" && status=99
    [ "$status" -eq 0 ] && record "$name" PASS "Escape quit with 0; $notes" ||
        record "$name" FAIL "exit status $status; $notes; see $log"
}

play() { # <case> <folder> [VAR=value...]
    local name=$1
    launch "$@" || { record "$name" FAIL "no window"; return; }
    xdotool windowfocus --sync "$win" mousemove --window "$win" 512 384 click 1 2>/dev/null
    sleep 0.5
    xdotool keydown space 2>/dev/null
    for key in Up Up Down Down Down Up; do xdotool key --delay 150 "$key" 2>/dev/null; sleep 0.3; done
    xdotool keyup space 2>/dev/null
    finish "$name" "played; load failures reported: $(grep -c "Couldn't load\|Mix_LoadMUS" "$log")"
}

claim_huge() { # <PNG or JPEG file>: its header claims 16000 x 60000 (PNG) or 16000 x 16000
    python3 - "$1" <<'EOF'
import sys, zlib
b = bytearray(open(sys.argv[1], 'rb').read())
if b[:4] == b'\x89PNG':  # IHDR's width and height, then its CRC made right again
    b[16:24] = (16000).to_bytes(4, 'big') + (60000).to_bytes(4, 'big')
    b[29:33] = zlib.crc32(b[12:29]).to_bytes(4, 'big')
else:  # the JPEG frame header's height and width
    i = next(i for i in range(2, len(b)) if b[i] == 0xFF and b[i + 1] in (0xC0, 0xC2))
    b[i + 5:i + 9] = (16000).to_bytes(2, 'big') * 2
open(sys.argv[1], 'wb').write(b)
EOF
}

fresh_copy() { mkdir -p "$1" && cp -r "$root/data" "$1/"; }

data_case() { # <file relative to data/> <missing|truncated|garbage>
    local dir=$work/case file=$work/case/data/$1
    rm -rf "$dir" && fresh_copy "$dir"
    case $2 in
    missing) rm -f "$file" ;;
    truncated) truncate -s $(($(stat -c %s "$file") / 2)) "$file" ;;
    garbage) openssl enc -aes-128-ctr -nosalt -pass pass:korvane -pbkdf2 </dev/zero 2>/dev/null |
        head -c "$(stat -c %s "$file")" >"$file.new" && mv "$file.new" "$file" ;; # a fixed seed: runs repeat
    huge) claim_huge "$file" ;;
    esac
    play "data/$1 $2" "$dir"
    # A bad picture is named once it is used. (A cut JPEG still shows its top rows; the
    # creature's shots and the explosions' pieces may not come in this short play.)
    case $1:$2 in gfx/*.jpg:truncated | gfx/bullet-02.png:* | gfx/particle-*) ;; gfx/*) grep -q "Couldn't load picture: data/$1" "$log" ||
        record "data/$1 $2: message" FAIL "no \"Couldn't load picture: data/$1\" in $log" ;; esac
}

no_display_case() {
    local dir=$work/nox problems="" status screen
    fresh_copy "$dir"
    (cd "$dir" && TERM=xterm script -qec \
        "stty -a >before; env -u DISPLAY SDL_AUDIODRIVER=dummy timeout --foreground 20 '$game' 2>err; echo \$? >status; stty -a >after" \
        /dev/null >transcript </dev/null)
    status=$(cat "$dir/status" 2>/dev/null || echo none)
    [ "$status" != 0 ] && [ "$status" != 124 ] && [ "$status" != none ] || problems+=" exit status $status;"
    grep -Eq '^Video (initialization|mode set) failed: ' "$dir/err" || problems+=" no video message;"
    cmp -s "$dir/before" "$dir/after" || problems+=" terminal settings changed;"
    screen=$(grep -ao $'\e\\[?1049[hl]' "$dir/transcript" | tail -n 1) # a text-mode driver's alternate screen
    [ -z "$screen" ] || [ "$screen" = $'\e[?1049l' ] || problems+=" alternate screen not left;"
    record "no X display (pty)" "$([ -z "$problems" ] && echo PASS || echo FAIL)" \
        "${problems:-exit $status, \"$(head -n 1 "$dir/err")\", stty unchanged, screen restored}"
}

monkey_case() {
    local seconds=${MONKEY_SECONDS:-60} events=0 name="random keys and clicks"
    fresh_copy "$work/monkey"
    launch "$name" "$work/monkey" || { record "$name" FAIL "no window"; return; }
    local keys=(Up Down Left Right space Return a s d w q x z 1 2 F1 F5 Tab BackSpace
        Shift_L Control_L Alt_L Home End Prior Next KP_Enter Menu) # no Escape: it ends the run
    local end=$((SECONDS + seconds)) && RANDOM=7 # a fixed seed: runs repeat
    while [ $SECONDS -lt $end ] && kill -0 "$pid" 2>/dev/null; do
        case $((RANDOM % 5)) in
        0) xdotool mousemove --window "$win" $((RANDOM % 1024)) $((RANDOM % 768)) click $((RANDOM % 3 + 1)) ;;
        1) xdotool keydown "${keys[RANDOM % ${#keys[@]}]}" ;;
        2) xdotool keyup "${keys[RANDOM % ${#keys[@]}]}" ;;
        *) xdotool key "${keys[RANDOM % ${#keys[@]}]}" ;;
        esac 2>/dev/null
        sleep 0.0$((RANDOM % 10)) && ((++events))
    done
    for key in "${keys[@]}"; do xdotool keyup "$key" 2>/dev/null; done
    finish "$name" "${seconds} s, $events events"
}

for file in ${FAULT_FILES:-$(cd "$root/data" && find . -type f | sed 's|^\./||' | sort)}; do
    for fault in ${FAULT_KINDS:-missing truncated garbage}; do data_case "$file" "$fault"; done; done
[ "${FAULT_DATA_ONLY:-}" = 1 ] && { echo "matrix: $matrix"; [ "$failures" -eq 0 ] || fail "$failures case(s) failed"; exit 0; }
fresh_copy "$work/na"
play "no audio device" "$work/na" SDL_AUDIODRIVER=no-such-driver
no_display_case
fresh_copy "$work/dossier été ünïcødé/with  spaces"
play "odd current folder" "$work/dossier été ünïcødé/with  spaces"
fresh_copy "$work/ro"
how="ro bind mount" # root writes anywhere else (unmounted on exit)
[ "$(id -u)" = 0 ] && mount --bind -o ro "$work/ro" "$work/ro" 2>/dev/null || { chmod -R a-w "$work/ro"; how="no write permission"; }
play "read-only current folder ($how)" "$work/ro"
monkey_case

echo "matrix: $matrix"
[ "$failures" -eq 0 ] || fail "$failures fault-injection case(s) failed"
echo "PASS: every fault-injection case"
