# Shared helpers for the end-to-end tests: each test runs the real game binary in a
# private Xvfb server and drives it with real X input.

fail() { echo "FAIL: $*" >&2; exit 1; }

# wait_for <seconds> <command...>: polls the command every 0.1 s until it succeeds.
wait_for() {
    local limit=$1; shift
    local deadline=$(( $(date +%s%N) + limit * 1000000000 ))
    until "$@" >/dev/null 2>&1; do
        [ "$(date +%s%N)" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# game_window: the id of the window titled exactly "Korvane".
game_window() { xdotool search --name '^Korvane$' 2>/dev/null | head -n 1; }
has_game_window() { [ -n "$(game_window)" ]; }

# wait_exit <pid> <seconds>: waits for the process; prints its status, or fails on time-out.
wait_exit() {
    local pid=$1 limit=$2
    wait_for "$limit" bash -c "! kill -0 $pid" || { kill -9 "$pid" 2>/dev/null; fail "process $pid did not exit within ${limit}s"; }
    wait "$pid"
}

# in_xvfb <script> <args...>: re-runs a script inside its own Xvfb unless already there.
in_xvfb() {
    if [ -z "${KORVANE_IN_XVFB:-}" ]; then
        KORVANE_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$@"
    fi
}
