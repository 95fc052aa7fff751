#!/bin/bash
# The run starts, stops cleanly and leaves nothing behind, twice in a row:
#   1. `scripts/run.sh | tee LOG` in a process group of its own, stopped with
#      SIGINT to the whole group, as a Ctrl-C in a terminal does (tee dies at
#      once, so the run stops with nobody reading its output);
#   2. right after, scripts/run.sh in the background, stopped with SIGTERM.
# Each time: the service's window came up and the mouse answered; on the stop
# the service shut down by itself (it released the mouse and closed the
# configuration program's window), and afterwards no process of the run is
# left: not the run script, the console, the service, any other process of
# the run's Wine prefix, the wineserver, openbox or Xvfb.
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

# Every process whose environment names the run's Wine prefix.
prefix_processes() {
    local environ pid
    for environ in /proc/[0-9]*/environ; do
        pid="${environ#/proc/}"
        pid="${pid%/environ}"
        { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$RUN_PREFIX" && echo "$pid"
    done
}

describe() { ps -o pid=,pgid=,args= -p "$1" 2>/dev/null; }
# Live members of a process group (an ended child not yet reaped does not count).
group_members() { ps -eo pid=,pgid=,stat=,args= | awk -v g="$1" '$2 == g && $3 !~ /^Z/'; }

# Waits until the run's service answers; prints the run's pids.
wait_for_service() {
    for _ in $(seq 1 900); do
        if "$ROOT/scripts/mouse.sh" status >/dev/null 2>&1; then
            return 0
        fi
        sleep 0.2
    done
    return 1
}

# The run's own processes, from its state file.
run_pids() {
    local key
    for key in RUN_PID XVFB_PID OPENBOX_PID SERVICE_PID CONSOLE_PID; do
        state_get "$key"
    done
}

check_nothing_left() {
    local label="$1" pids="$2" pid left=0
    for pid in $pids $(prefix_processes); do
        if [ -e "/proc/$pid" ] && ! grep -q ') Z ' "/proc/$pid/stat" 2>/dev/null; then
            fail "$label: left running: $(describe "$pid")"
            left=1
        fi
    done
    # The console's process group (tail and its reader).
    local console
    console="$(sed -n 's/^CONSOLE_PID=//p' <<<"$STATE_COPY")"
    if [ -n "$console" ] && [ -n "$(group_members "$console")" ]; then
        fail "$label: the console's process group $console is left: $(group_members "$console")"
        left=1
    fi
    [ -f "$RUN_STATE" ] && fail "$label: the state file build/run/state is left"
    [ $left -eq 0 ] && echo "$label: nothing of the run is left running"
}

check_clean_shutdown() {
    local label="$1"
    tail -n 1 "$RUN_LOGS/mouse.log" | grep -q " close$" ||
        fail "$label: the service did not release the mouse (last mouse log line: $(tail -n 1 "$RUN_LOGS/mouse.log"))"
    grep -q "msg=0x0010 " "$RUN_LOGS/config.log" ||
        fail "$label: the service did not close the configuration program's window"
}

# Waits up to 60 s for the process to end.
wait_gone() {
    for _ in $(seq 1 600); do
        [ -e "/proc/$1" ] || return 0
        grep -q ') Z ' "/proc/$1/stat" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

if [ -n "$(state_get RUN_PID 2>/dev/null)" ] && pid_is "$(state_get RUN_PID)" run.sh; then
    echo "A run is alive already; this test needs the machine's run to itself." >&2
    exit 1
fi

# --- 1. piped into tee, Ctrl-C to the whole process group ---
log="$(mktemp)"
# Job control gives the pipeline a process group of its own with SIGINT at
# its default, as a terminal's foreground job has (a script's background jobs
# would ignore SIGINT).
set -m
bash -c '"$0" --no-build | tee "$1" >/dev/null' "$ROOT/scripts/run.sh" "$log" &
group=$!
set +m
if wait_for_service; then
    STATE_COPY="$(cat "$RUN_STATE")"
    pids="$(run_pids)"
    run_pid="$(state_get RUN_PID)"
    echo "piped run: service up; Ctrl-C (SIGINT to process group $group)"
    kill -INT -- "-$group"
    wait_gone "$run_pid" || {
        fail "piped run: run.sh did not end within 60 s of the Ctrl-C"
        kill -TERM -- "-$group" 2>/dev/null
    }
    wait "$group" 2>/dev/null
    check_clean_shutdown "piped run"
    check_nothing_left "piped run" "$pids"
    grep -q "The service runs" "$log" || fail "piped run: the console did not show the start message"
else
    fail "piped run: the service did not come up; the run said:"
    cat "$log"
    kill -TERM -- "-$group" 2>/dev/null
    wait "$group" 2>/dev/null
fi
rm -f "$log"

# --- 2. right after: in the background, SIGTERM ---
log="$(mktemp)"
"$ROOT/scripts/run.sh" --no-build >"$log" 2>&1 &
run_pid=$!
if wait_for_service; then
    STATE_COPY="$(cat "$RUN_STATE")"
    pids="$(run_pids)"
    echo "background run: service up; SIGTERM to run.sh"
    kill -TERM "$run_pid"
    wait_gone "$run_pid" || {
        fail "background run: run.sh did not end within 60 s"
        kill -KILL "$run_pid" 2>/dev/null
    }
    wait "$run_pid"
    code=$?
    [ $code -eq 0 ] || fail "background run: run.sh ended with $code (0 expected); it said: $(tail -n 5 "$log")"
    grep -q "The service shut down (exit code 0)" "$log" || fail "background run: no clean shut-down reported"
    check_clean_shutdown "background run"
    check_nothing_left "background run" "$pids"
else
    fail "background run: the service did not come up; the run said:"
    cat "$log"
    kill -TERM "$run_pid" 2>/dev/null
    wait "$run_pid" 2>/dev/null
fi
rm -f "$log"

if [ $failures -eq 0 ]; then
    echo "PASSED: clean start and stop, twice"
    exit 0
fi
exit 1
