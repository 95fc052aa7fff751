#!/bin/bash
# A run whose run.sh is killed outright (SIGKILL) is cleaned up, twice:
#   1. the console ends with its run (it does not go on printing), and the
#      next command (control.sh) ends everything the run left from its state
#      file, says so and exits 3;
#   2. a second run killed the same way is cleaned up by scripts/stop.sh,
#      which exits 0.
# Each time no process of the run is left: the console, the service and
# everything else of the run's Wine prefix, the wineserver, openbox, Xvfb.
# Needs the Windows build (build/win); the run uses build/wine/prefix.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
# shellcheck source=../../scripts/lib/runenv.sh
source "$ROOT/scripts/lib/runenv.sh"
cd "$ROOT" || exit 1

failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
alive() { [ -e "/proc/$1" ] && ! grep -q ') Z ' "/proc/$1/stat" 2>/dev/null; }
prefix_processes() {
    local environ pid
    for environ in /proc/[0-9]*/environ; do
        pid="${environ#/proc/}"
        pid="${pid%/environ}"
        { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$RUN_PREFIX" && alive "$pid" && echo "$pid"
    done
}
group_alive() { ps -eo pgid=,stat= | awk -v g="$1" '$1 == g && $2 !~ /^Z/ { found = 1 } END { exit !found }'; }

if [ -n "$(state_get RUN_PID 2>/dev/null)" ] && pid_is "$(state_get RUN_PID)" run.sh; then
    echo "A run is alive already; this test needs the machine's run to itself." >&2
    exit 1
fi

# Starts a run, waits for its service, kills run.sh with SIGKILL; leaves the
# pids of the run in PIDS and the console's in CONSOLE.
start_and_kill() {
    local label="$1" log="$2" run_pid
    scripts/run.sh --no-build >"$log" 2>&1 &
    run_pid=$!
    for _ in $(seq 1 900); do
        scripts/mouse.sh status >/dev/null 2>&1 && break
        sleep 0.2
    done
    if ! scripts/mouse.sh status >/dev/null 2>&1; then
        fail "$label: the service did not come up"
        cat "$log"
        kill -TERM "$run_pid"
        wait "$run_pid"
        return 1
    fi
    PIDS="$(for key in XVFB_PID OPENBOX_PID SERVICE_PID; do state_get "$key"; done)"
    CONSOLE="$(state_get CONSOLE_PID)"
    kill -KILL "$run_pid"
    wait "$run_pid" 2>/dev/null
    echo "$label: run.sh killed"
}

check_nothing_left() {
    local label="$1" pid left=0
    for pid in $PIDS $(prefix_processes); do
        # A process that the clean-up has signalled may take a moment to go.
        for _ in $(seq 1 30); do alive "$pid" || break; sleep 0.1; done
        alive "$pid" && { fail "$label: left running: $(ps -o pid=,args= -p "$pid")"; left=1; }
    done
    group_alive "$CONSOLE" && { fail "$label: the console is left"; left=1; }
    [ -f "$RUN_STATE" ] && { fail "$label: the state file is left"; left=1; }
    [ $left -eq 0 ] && echo "$label: nothing of the run is left running"
}

# --- 1. the console ends by itself; the next command cleans up ---
log="$(mktemp)"
if start_and_kill "killed run 1" "$log"; then
    for _ in $(seq 1 50); do group_alive "$CONSOLE" || break; sleep 0.1; done
    group_alive "$CONSOLE" && fail "killed run 1: the console goes on after its run was killed"
    lines="$(wc -l <"$log")"
    out="$(scripts/control.sh rate 1 2>&1)"
    code=$?
    [ $code -eq 3 ] || fail "killed run 1: control.sh exited $code (3 wanted): $out"
    grep -q "^control.sh: the run's script (pid [0-9]*) was killed" <<<"$out" ||
        fail "killed run 1: control.sh did not say the run was killed: $out"
    grep -q "^control.sh: the killed run is cleaned up" <<<"$out" ||
        fail "killed run 1: control.sh did not clean up: $out"
    check_nothing_left "killed run 1"
    [ "$(wc -l <"$log")" -eq "$lines" ] || fail "killed run 1: the console printed after its run was killed"
fi
rm -f "$log"

# --- 2. stop.sh cleans up ---
log="$(mktemp)"
if start_and_kill "killed run 2" "$log"; then
    out="$(scripts/stop.sh 2>&1)"
    code=$?
    [ $code -eq 0 ] || fail "killed run 2: stop.sh exited $code (0 wanted): $out"
    grep -q "^Stopped.$" <<<"$out" || fail "killed run 2: stop.sh said: $out"
    check_nothing_left "killed run 2"
    out="$(scripts/stop.sh 2>&1)"
    code=$?
    [ $code -eq 3 ] || fail "killed run 2: a second stop.sh exited $code (3 wanted): $out"
fi
rm -f "$log"

if [ $failures -eq 0 ]; then
    echo "PASSED: a killed run is cleaned up, by the next command and by stop.sh"
    exit 0
fi
exit 1
