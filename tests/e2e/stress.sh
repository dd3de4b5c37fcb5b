#!/usr/bin/env bash
# The end-to-end tests, RUNS times over, while every core is kept busy (shared machines and
# CI are seldom idle). Prints passes / runs per test; exits 1 if any run failed.
# usage: stress.sh <build dir> <runs> [ctest -R/-L arguments...]   (default: -L e2e)
# LD_LIBRARY_PATH passes through, so the same check runs on either SDL 1.2.
set -u
build=$1 runs=$2
shift 2
[ $# -gt 0 ] || set -- -L e2e
logs=$build/test-artifacts/stress-$(basename "${LD_LIBRARY_PATH:-classic}")
mkdir -p "$logs" && rm -f "$logs"/run-*.txt

# One busy process a core (stress-ng if there, else a shell loop), ended by pid.
load=()
for _ in $(seq "$(nproc)"); do
    if command -v stress-ng >/dev/null; then stress-ng --cpu 1 --quiet & else sh -c 'while :; do :; done' & fi
    load+=($!)
done
trap 'kill "${load[@]}" 2>/dev/null; wait 2>/dev/null' EXIT

declare -A passed ran
for run in $(seq "$runs"); do
    ctest --test-dir "$build" --output-on-failure -j "$(nproc)" "$@" >"$logs/run-$run.txt" 2>&1
    # ctest's lines: "1/4 Test #12: e2e_play ..........   Passed   31.20 sec"
    while read -r name outcome; do
        ran[$name]=$(( ${ran[$name]:-0} + 1 ))
        [ "$outcome" = Passed ] && passed[$name]=$(( ${passed[$name]:-0} + 1 ))
    done < <(sed -nE 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) \.*[* ]*([A-Za-z]+).*/\1 \2/p' "$logs/run-$run.txt")
    echo "run $run of $runs: $(grep -E 'tests passed' "$logs/run-$run.txt") (load average $(cut -d' ' -f1 /proc/loadavg))"
done

failed=0
[ ${#ran[@]} -gt 0 ] || { echo "no test ran: see $logs/run-1.txt"; exit 1; }
for name in $(printf '%s\n' "${!ran[@]}" | sort); do
    printf '%-45s %2d / %2d passed\n' "$name" "${passed[$name]:-0}" "${ran[$name]}"
    [ "${passed[$name]:-0}" -eq "${ran[$name]}" ] || failed=1
done
[ "$failed" -eq 0 ] || echo "failures: the logs of each run are in $logs"
exit "$failed"
