#!/usr/bin/env bash
# Without a sound device the game says so on standard output and plays on silently: the
# window opens, every frame's music check retries (and says so again), Escape still quits.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
in_xvfb "$0" "$@"
game=$1
out=$(mktemp)

SDL_AUDIODRIVER=no-such-driver "$game" >"$out" 2>&1 &
pid=$!
wait_for 20 has_game_window || { cat "$out"; fail "no window without a sound device"; }
sleep 1
win=$(game_window)
escape_until_gone "$pid" "$win"
wait_exit "$pid" 10
status=$?
[ "$status" -eq 0 ] || { cat "$out"; fail "exit status $status, expected 0"; }
message='Vaara: ei kyetty 44100 Hz 16-bit audioon '
head -n 1 "$out" | grep -q "^$message" || { cat "$out"; fail "start-up did not report the missing device first"; }
retries=$(grep -c "^$message" "$out")
[ "$retries" -ge 3 ] || { cat "$out"; fail "the music check did not retry every frame ($retries lines)"; }
rm -f "$out"
echo "PASS: no sound device reported ($retries times), the game ran and quit with 0"
