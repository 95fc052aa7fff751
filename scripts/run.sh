#!/bin/bash
# Builds the product and starts the service under Wine on a virtual display,
# with the simulated mouse plugged in, the two stand-in configuration windows
# ("Lunket_Driver_Config", "Pevo_Driver_Config"), the input recorder and the
# debug-output reader beside it; then shows the live console (scripts/lib/
# console.sh) until the service ends.
#
#   scripts/run.sh [--no-build] [--all-data]
#
#   --no-build   start what build/win holds (no set-up, no build)
#   --all-data   the console shows every data report the mouse gets, one line
#                each (by default a run of them is one line: what, how many,
#                how long)
#
# Ctrl-C (also when piped, as in `scripts/run.sh | tee log`), SIGTERM, SIGHUP
# or scripts/stop.sh close the service's window, as the tray program would,
# wait for its clean shut-down, and end everything the run started: the
# stand-ins, the recorder and reader, the wineserver, openbox, Xvfb and the
# console. The Wine prefix is kept in build/wine/prefix and reused by the
# next run. The run's state (display, prefix, pids) is in build/run/state,
# where scripts/mouse.sh, control.sh, assign.sh, stop.sh and demo.sh find it.
#
# Exit code: 0 the service ran and shut down cleanly (exit code 0), 1 it did
# not start, ended with a failing code, or another run is alive, 2 bad arguments.
set -euo pipefail
SCRIPTS="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=lib/runenv.sh
source "$SCRIPTS/lib/runenv.sh"
# shellcheck source=lib/console.sh
source "$SCRIPTS/lib/console.sh"
# shellcheck source=../tests/wine/wine-env.sh
source "$MOUSEHID_ROOT/tests/wine/wine-env.sh"
cd "$MOUSEHID_ROOT"

build=1
all_data=0
for arg in "$@"; do
    case "$arg" in
        --no-build) build=0 ;;
        --all-data) all_data=1 ;;
        -h | --help) runenv_usage "$0" 2 24; exit $EXIT_OK ;;
        *) echo "run.sh: unknown argument '$arg'; usage: scripts/run.sh [--no-build] [--all-data] [--help]" >&2
           exit $EXIT_USAGE ;;
    esac
done

# A reader that went away (tee after a Ctrl-C) must not end this script
# half way through its stop; what it prints then goes to standard error.
trap '' PIPE
say() { printf '%s\n' "$*" 2>/dev/null || printf '%s\n' "$*" >&2 2>/dev/null || true; }

# The programs a run installs (cmake --install of the product and its
# testsupport component); the tests and timing programs are not built.
RUN_TARGETS=(mousehid HidDevice HIDApi trayicon configstub inputrecorder filehold debuglines
             launchmarker hidsimctl settingsedit windowtree)
RECORDER_EVENT="MousehidRunInputRecorder"
READER_EVENT="MousehidRunDebugLines"
SERVICE_START_S=30
SERVICE_STOP_S=20

if pid="$(state_get RUN_PID)" && pid_is "$pid" run.sh; then
    echo "Another run is alive (pid $pid); stop it with scripts/stop.sh or Ctrl-C in its shell." >&2
    exit $EXIT_FAILED
fi
# A run whose run.sh was killed outright is ended from its state file.
runenv_clean_up_dead_run run.sh || true

SERVICE_PID=""
CONSOLE_PID=""
STOPPED=0
RUN_EXIT=$EXIT_OK

# Waits up to $2 seconds for process $1 to end (a child that ended and was
# not waited for yet counts as ended); true when it did.
wait_for_end() {
    local pid="$1"
    for _ in $(seq 1 $(($2 * 10))); do
        wine_env_alive "$pid" || return 0
        sleep 0.1
    done
    return 1
}

# Closes the service cleanly and ends everything the run started. Runs once,
# whatever brought us here (a signal, the service's end, an error).
stop_everything() {
    [ $STOPPED -eq 1 ] && return
    STOPPED=1
    trap '' INT TERM HUP
    set +e
    if [ -n "$SERVICE_PID" ] && kill -0 "$SERVICE_PID" 2>/dev/null; then
        say ""
        say "Closing the service window..."
        product_exe configstub.exe close "$SERVICE_TITLE" >/dev/null 2>&1
        if wait_for_end "$SERVICE_PID" $SERVICE_STOP_S; then
            wait "$SERVICE_PID" 2>/dev/null
            local code=$?
            say "The service shut down (exit code $code)."
            [ $code -eq 0 ] || RUN_EXIT=$EXIT_FAILED
        else
            say "The service did not shut down within $SERVICE_STOP_S s; ending it."
            RUN_EXIT=$EXIT_FAILED
        fi
    fi
    if [ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ]; then
        product_exe configstub.exe close "$CONFIG_TITLE" >/dev/null 2>&1
        product_exe configstub.exe close "$PEVO_TITLE" >/dev/null 2>&1
        product_exe inputrecorder.exe --signal "$RECORDER_EVENT" >/dev/null 2>&1
        product_exe debuglines.exe --signal "$READER_EVENT" >/dev/null 2>&1
        sleep 0.5  # the console shows their last lines
    fi
    if [ -n "$CONSOLE_PID" ]; then
        kill -- "-$CONSOLE_PID" 2>/dev/null
        wait_for_end "$CONSOLE_PID" 5
    fi
    # Whatever of the prefix still runs ends here, and with it the wineserver;
    # then openbox and Xvfb.
    [ -n "${WINE_RUN_DIR:-}" ] && wine_env_stop
    rm -f "$RUN_STATE"
    say "Stopped: nothing of this run is left running."
}
trap 'stop_everything; exit $RUN_EXIT' INT TERM HUP
trap 'stop_everything' EXIT

if [ $build -eq 1 ]; then
    bash scripts/setup.sh
    # Only what a run installs: the service, its libraries and the stand-ins.
    bash scripts/build.sh win "${RUN_TARGETS[@]}"
fi
rm -rf "$RUN_PRODUCT"
cmake --install build/win --prefix "$RUN_PRODUCT" >/dev/null
cmake --install build/win --prefix "$RUN_PRODUCT" --component testsupport >/dev/null

rm -rf "$RUN_LOGS"
mkdir -p "$RUN_LOGS" "$(dirname "$RUN_PREFIX")"
console_files=(debug.log mouse.log input.log config.log pevo.log)
for f in "${console_files[@]}"; do : >"$RUN_LOGS/$f"; done
: >"$RUN_PRODUCT/trayicon.log"

wine_settings
unset DISPLAY
export WINE_RUN_DIR="$RUN_DIR/wine"
export MOUSEHID_WINE_PREFIX="$RUN_PREFIX"
mkdir -p "$WINE_RUN_DIR"
[ -d "$RUN_PREFIX" ] || say "Making the Wine prefix build/wine/prefix (once; later runs reuse it)..."
wine_env_start

write_state() {
    {
        echo "RUN_PID=$$"
        echo "DISPLAY=$DISPLAY"
        echo "WINEPREFIX=$WINEPREFIX"
        echo "XVFB_PID=$(cat "$WINE_RUN_DIR/xvfb.pid")"
        echo "OPENBOX_PID=$(cat "$WINE_RUN_DIR/openbox.pid")"
        echo "SERVICE_PID=$SERVICE_PID"
        echo "CONSOLE_PID=$CONSOLE_PID"
        echo "PRODUCT=$RUN_PRODUCT"
        echo "LOGS=$RUN_LOGS"
    } >"$RUN_STATE.new"
    mv "$RUN_STATE.new" "$RUN_STATE"
}
write_state

# The console: a session of its own (setsid), ended as one process group.
console_paths=()
for f in "${console_files[@]}"; do console_paths+=("$RUN_LOGS/$f"); done
console_paths+=("$RUN_PRODUCT/trayicon.log")
# It watches this script and ends with it, however it ends.
CONSOLE_ALL_DATA=$all_data CONSOLE_RUN_PID=$$ \
    setsid bash -c 'source "$0"; console_follow "$@"' "$SCRIPTS/lib/console.sh" "${console_paths[@]}" &
CONSOLE_PID=$!
write_state

# Starts a Windows program of the product in a session of its own, so that a
# Ctrl-C in the terminal reaches only this script, which stops everything in order.
start_exe() {
    setsid wine "$RUN_PRODUCT/$1" "${@:2}" >>"$RUN_LOGS/wine.log" 2>&1 &
}

wait_for_line() {
    local file="$1" line="$2"
    for _ in $(seq 1 100); do
        grep -q "^$line" "$file" 2>/dev/null && return 0  # Windows text files end lines in CR LF
        sleep 0.1
    done
    return 1
}

start_exe debuglines.exe --out "$(windows_path "$RUN_LOGS/debug.log")" --stop-event "$READER_EVENT"
start_exe inputrecorder.exe --out "$(windows_path "$RUN_LOGS/input.log")" --stop-event "$RECORDER_EVENT"
wait_for_line "$RUN_LOGS/debug.log" ready || say "warning: the debug-output reader did not start (see $RUN_LOGS/wine.log)"
wait_for_line "$RUN_LOGS/input.log" ready || say "warning: the input recorder did not start (see $RUN_LOGS/wine.log)"
start_exe configstub.exe window "$CONFIG_TITLE" "$(windows_path "$RUN_LOGS/config.log")"
start_exe configstub.exe window "$PEVO_TITLE" "$(windows_path "$RUN_LOGS/pevo.log")"
product_exe configstub.exe wait "$CONFIG_TITLE" 10000 || say "warning: no \"$CONFIG_TITLE\" stand-in window"
product_exe configstub.exe wait "$PEVO_TITLE" 10000 || say "warning: no \"$PEVO_TITLE\" stand-in window"

HIDSIM_LOG="$(windows_path "$RUN_LOGS/mouse.log")" setsid wine "$RUN_PRODUCT/mousehid.exe" >>"$RUN_LOGS/wine.log" 2>&1 &
SERVICE_PID=$!
write_state
if ! product_exe configstub.exe wait "$SERVICE_TITLE" $((SERVICE_START_S * 1000)); then
    say "The service's window did not appear within $SERVICE_START_S s (see $RUN_LOGS/wine.log)."
    RUN_EXIT=$EXIT_FAILED
    exit $RUN_EXIT
fi

cat <<EOF
The service runs (window "$SERVICE_TITLE", pid $SERVICE_PID) on display $DISPLAY.
Ctrl-C here, or scripts/stop.sh anywhere, closes it cleanly and ends everything this run started.

Console: time, source, event. service = its debug lines; mouse = reports the mouse gets and
sends; input = keys and mouse events the system sees; config, pevo = messages the stand-in
"$CONFIG_TITLE" and "$PEVO_TITLE" windows get; tray = the tray stand-in.
Every line of every source is also in build/run/logs/.

Try, from a second shell (the commands find this run by themselves):
  scripts/mouse.sh click 0                       button 0 is the left button: a left click
  scripts/assign.sh 3 KeyboardKey key A          button 3 now taps the A key
  scripts/mouse.sh press 3; scripts/mouse.sh release 3
  scripts/assign.sh 4 Macro mode held macro "A+ 40ms A- 60ms"
  scripts/mouse.sh press 4; sleep 1; scripts/mouse.sh release 4
  scripts/control.sh apply                       the full write, behind the progress dialog
  scripts/mouse.sh memory                        what the mouse holds now
  scripts/mouse.sh unplug; scripts/mouse.sh plug
  scripts/stop.sh                                the same as Ctrl-C here

EOF

set +e
while kill -0 "$SERVICE_PID" 2>/dev/null; do
    wait "$SERVICE_PID"
done
# The service ended by itself (its window was closed).
wait "$SERVICE_PID" 2>/dev/null
code=$?
say "The service ended (exit code $code)."
[ $code -eq 0 ] || RUN_EXIT=$EXIT_FAILED
SERVICE_PID=""
stop_everything
exit $RUN_EXIT
