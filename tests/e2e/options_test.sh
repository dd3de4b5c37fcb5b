#!/usr/bin/env bash
# options_test.sh <the game, or the launcher>: --help and --version print on standard output
# alone and exit 0 with no display; an unknown option or a stray argument gives one error line
# and the usage on standard error alone, and status 2.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
command=$1
work=$(mktemp -d)
at_exit 'rm -rf "$work"'
version=$(sed -n 's/^project(Korvane VERSION \([0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")
[ -n "$version" ] || fail "no version in project()"

run() { env -u DISPLAY SDL_AUDIODRIVER=dummy "$command" "$@" >"$work/out" 2>"$work/err"; status=$?; }
run --version
[ "$status" = 0 ] && [ "$(cat "$work/out")" = "Korvane $version" ] && [ ! -s "$work/err" ] ||
    fail "--version: status $status, out '$(cat "$work/out")', err '$(cat "$work/err")'"
run --help
[ "$status" = 0 ] && [ ! -s "$work/err" ] || fail "--help: status $status, err '$(cat "$work/err")'"
for word in --fullscreen --help --version Alt+Enter F11 Escape Space; do grep -qF -- "$word" "$work/out" || fail "--help does not name $word"; done
cp "$work/out" "$work/usage"
for wrong in --bogus -x stray; do
    run --fullscreen "$wrong" --help # the first thing not understood ends the reading
    [ "$status" = 2 ] && [ ! -s "$work/out" ] && grep -qx "korvane: .*'$wrong'" <(head -n 1 "$work/err") &&
        diff <(tail -n +2 "$work/err") "$work/usage" >/dev/null ||
        fail "$wrong: status $status, out '$(cat "$work/out")', err '$(cat "$work/err")'"
done
echo "$(head -n 1 "$work/err") (status 2)"
echo "PASS: $command --help, --version (Korvane $version), unknown options"
