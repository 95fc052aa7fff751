#!/bin/bash
# Runs the roads of the system end to end, unattended, and says step by step
# what happened. Uses the running service when there is one (scripts/run.sh);
# otherwise starts one (its console goes to build/run/demo-console.log) and
# stops it at the end.
#
#   scripts/demo.sh [--no-build] [--steps 1,3,5]
#
# Steps:
#   1  start-up: the service's window, the mouse opened, its debug lines, the tray program
#   2  a settings change written into the mouse behind the progress dialog (0x4DE):
#      the mouse's memory before and after, a screenshot of the dialog, and the
#      button it changed tapping its new key
#   3  a button with a while-held macro pressed and released: the injected keys and their timing
#   4  a profile switched by bringing a named program to the foreground
#   5  unplug and plug: the mouse goes and comes back, the service notices
#   6  unplug and plug: the configuration program and the tray program are told
# The demo changes the active profile's buttons 4 and 5 and one profile's
# program in the settings file.
#
# Exit code: 0 every step did what it should, 1 a step did not, 2 bad
# arguments, 3 no service could be started.
set -uo pipefail
SCRIPTS="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=lib/runenv.sh
source "$SCRIPTS/lib/runenv.sh"
# shellcheck source=lib/contract.sh
source "$SCRIPTS/lib/contract.sh"

build_flag=""
wanted="1,2,3,4,5,6"
while [ $# -gt 0 ]; do
    case "$1" in
        --no-build) build_flag="--no-build" ;;
        --steps)
            [ $# -ge 2 ] && [[ "$2" =~ ^[1-6](,[1-6])*$ ]] || {
                echo "demo.sh: --steps takes step numbers 1 to 6, like 1,3,5" >&2
                exit $EXIT_USAGE
            }
            wanted="$2"
            shift ;;
        -h | --help) runenv_usage "$0" 2 22; exit $EXIT_OK ;;
        *) echo "demo.sh: unknown argument '$1'; usage: scripts/demo.sh [--no-build] [--steps 1,3,5] [--help]" >&2
           exit $EXIT_USAGE ;;
    esac
    shift
done

SCREENSHOT="$RUN_DIR/progress-dialog.png"
DEMO_APP_TITLE="Demo program"
own_run_pid=""

# --- the environment ---------------------------------------------------------

stop_own_run() {
    [ -n "$own_run_pid" ] || return 0
    echo
    echo "Stopping the run the demo started..."
    "$SCRIPTS/stop.sh" >/dev/null 2>&1
    wait "$own_run_pid" 2>/dev/null
    own_run_pid=""
}
trap 'stop_own_run; exit $EXIT_FAILED' INT TERM HUP

start_own_run() {
    echo "No service is running; starting one (console in build/run/demo-console.log)..."
    mkdir -p "$RUN_DIR"
    "$SCRIPTS/run.sh" $build_flag >"$RUN_DIR/demo-console.log" 2>&1 &
    own_run_pid=$!
    # The build may take a while on a fresh clone; the service then starts in seconds.
    while kill -0 "$own_run_pid" 2>/dev/null; do
        if runenv_attach 2>/dev/null && [ -n "$(state_get SERVICE_PID)" ] &&
            product_exe configstub.exe wait "$SERVICE_TITLE" 1000 >/dev/null 2>&1; then
            return 0
        fi
        sleep 1
    done
    wait "$own_run_pid" 2>/dev/null
    own_run_pid=""
    echo "The run did not start; its output:" >&2
    tail -n 30 "$RUN_DIR/demo-console.log" >&2
    return 1
}

if ! runenv_attach 2>/dev/null; then
    start_own_run || exit $EXIT_NOT_RUNNING
fi

# --- reading what happened -----------------------------------------------------

# Line count of a log, to read what comes after it later.
mark() { wc -l <"$1" 2>/dev/null || echo 0; }
# The lines of a log after a mark.
since() { tail -n +"$(($2 + 1))" "$1" 2>/dev/null; }
# Waits up to $3 seconds for a line matching the pattern $4 after mark $2 of log $1.
wait_for() {
    local log="$1" from="$2" seconds="$3" pattern="$4"
    for _ in $(seq 1 $((seconds * 10))); do
        since "$log" "$from" | grep -q -- "$pattern" && return 0
        sleep 0.1
    done
    return 1
}

STEP_RESULT=0
declare -a SUMMARY=()
check() {  # check "what" command...: runs the command, prints ok/FAILED
    local what="$1"
    shift
    if "$@"; then
        echo "    ok      $what"
    else
        echo "    FAILED  $what"
        STEP_RESULT=1
    fi
}
step_begin() {
    STEP_RESULT=0
    echo
    echo "Step $1: $2"
}
step_end() {
    local result=PASS
    [ $STEP_RESULT -eq 0 ] || result=FAIL
    SUMMARY+=("$(printf '  %s  step %s: %s' "$result" "$1" "$2")")
}
run_quiet() { "$@" >/dev/null 2>&1; }
active_profile() { product_exe settingsedit.exe active 2>/dev/null | tr -d '\r'; }

# --- the steps -----------------------------------------------------------------

step_startup() {
    check "the service's window \"$SERVICE_TITLE\" exists" run_quiet product_exe configstub.exe wait "$SERVICE_TITLE" 1000
    check "the simulated mouse is plugged in" grep -q "plugged=1" <(product_exe hidsimctl.exe status)
    check "the service opened the mouse (mouse log: open 1)" grep -q " open 1$" "$RUN_LOGS/mouse.log"
    check "its debug lines reach the console (MONITOROPEN)" grep -q "MONITOROPEN" "$RUN_LOGS/debug.log"
    check "it started the tray program" run_quiet product_exe configstub.exe wait "$TRAY_TITLE" 5000
}

screenshot_of_dialog() {
    product_exe configstub.exe wait "$PROGRESS_TITLE" 15000 >/dev/null 2>&1 || return 1
    rm -f "$SCREENSHOT"
    xwd -root -silent -display "$DISPLAY" | convert xwd:- "png:$SCREENSHOT" 2>/dev/null && [ -s "$SCREENSHOT" ]
}

step_full_write() {
    local profile before_log after
    profile="$(active_profile)"
    echo "  The mouse's memory before:"
    "$SCRIPTS/mouse.sh" memory | grep -E "^(button 5|lift-off|logo)" | sed 's/^/    /'
    echo "  Button 5 of profile $profile becomes KeyboardKey B in the settings file; then 0x4DE (apply):"
    "$SCRIPTS/assign.sh" --profile "$profile" 5 KeyboardKey key B | sed 's/^/    /'
    before_log="$(mark "$RUN_LOGS/config.log")"
    screenshot_of_dialog &
    local shooter=$!
    "$SCRIPTS/control.sh" apply 2>&1 | sed 's/^/    /'
    check "the progress dialog \"$PROGRESS_TITLE\" showed (screenshot: build/run/progress-dialog.png)" wait "$shooter"
    check "0x4E1 (full write finished) reached \"$CONFIG_TITLE\"" wait_for "$RUN_LOGS/config.log" "$before_log" 1 "msg=0x$(contract_hex4 kNotifyFullWriteDone) "
    check "the dialog is gone" run_quiet product_exe configstub.exe gone "$PROGRESS_TITLE" 5000
    echo "  The mouse's memory after:"
    after="$("$SCRIPTS/mouse.sh" memory)"
    grep -E "^(button 5|lift-off|logo)" <<<"$after" | sed 's/^/    /'
    check "the mouse's button table holds KeyboardKey B for button 5" grep -q "^button 5: 00 05 00 00" <<<"$after"
    echo "  Button 5 pressed and released:"
    local from_input from_debug
    from_input="$(mark "$RUN_LOGS/input.log")"
    from_debug="$(mark "$RUN_LOGS/debug.log")"
    "$SCRIPTS/mouse.sh" click 5 >/dev/null
    check "the service's debug lines show the mouse's report 00 07 42 00 05 01 00 00 00" \
        wait_for "$RUN_LOGS/debug.log" "$from_debug" 1 "00 07 42 00 05 01 00 00 00"
    check "the B key was tapped (injected B down, then up)" key_tapped "$from_input" 0x42
}

# True when the input log shows, after mark $1, virtual key $2 injected down and then up.
key_tapped() {
    local from="$1" vk="$2" kinds
    sleep 0.3
    kinds="$(since "$RUN_LOGS/input.log" "$from" | grep " vk=$vk " | grep " injected=1 " |
        sed -n 's/.* up=\([01]\) .*/\1/p' | tr -d '\n')"
    [ "$kinds" = 01 ]
}

step_macro() {
    local profile from events
    profile="$(active_profile)"
    echo "  Button 4 of profile $profile plays A+ 40ms A- 60ms while held:"
    "$SCRIPTS/assign.sh" --profile "$profile" 4 Macro mode held macro "A+ 40ms A- 60ms" | sed 's/^/    /'
    from="$(mark "$RUN_LOGS/input.log")"
    "$SCRIPTS/mouse.sh" press 4 >/dev/null
    sleep 0.6
    "$SCRIPTS/mouse.sh" release 4 >/dev/null
    sleep 0.6  # the pass in progress ends
    events="$(since "$RUN_LOGS/input.log" "$from" | grep " vk=0x41 " | grep " injected=1 ")"
    local settled
    sleep 0.4
    settled="$(since "$RUN_LOGS/input.log" "$from" | grep -c " vk=0x41 ")"
    echo "  Injected A keys, times since the first:"
    local first="" t up line kinds="" gaps_ok=1 last_down=""
    while IFS= read -r line; do
        [ -n "$line" ] || continue
        t="$(sed -n 's/.* t=\([0-9]*\) .*/\1/p' <<<"$line")"
        up="$(sed -n 's/.* up=\([01]\) .*/\1/p' <<<"$line")"
        [ -n "$first" ] || first="$t"
        printf '    %8.1f ms  A %s\n' "$(((t - first) / 100))e-1" "$([ "$up" = 1 ] && echo up || echo down)"
        kinds+="$up"
        if [ "$up" = 0 ]; then last_down="$t"; elif [ -n "$last_down" ] && ((t - last_down < 30000)); then gaps_ok=0; fi
    done <<<"$events"
    local count=${#kinds}
    check "the macro played at least twice while the button was held ($((count / 2)) passes)" test "$count" -ge 4
    check "presses and releases alternate, starting with a press and ending with a release" \
        grep -qE '^(01)+$' <<<"$kinds"
    check "each A stayed down about its 40 ms (at least 30 ms: the hooks see an event a few ms late)" test $gaps_ok -eq 1
    check "nothing more was played after the release ended the pass in progress" test "$settled" -eq "$count"
}

step_foreground() {
    local active target from
    active="$(active_profile)"
    target=2
    [ "$active" = 2 ] && target=3
    echo "  Profile $target is to follow demoapp.exe; the active profile is $active."
    "$SCRIPTS/assign.sh" launch "$target" demoapp.exe | sed 's/^/    /'
    cp "$RUN_PRODUCT/configstub.exe" "$RUN_PRODUCT/demoapp.exe"
    from="$(mark "$RUN_LOGS/config.log")"
    setsid wine "$RUN_PRODUCT/demoapp.exe" window "$DEMO_APP_TITLE" "$(windows_path "$RUN_LOGS/demoapp.log")" \
        >>"$RUN_LOGS/wine.log" 2>&1 &
    run_quiet product_exe configstub.exe wait "$DEMO_APP_TITLE" 10000
    check "demoapp.exe came to the foreground" run_quiet product_exe configstub.exe front "$DEMO_APP_TITLE"
    check "within 2 s the service posted 0x4D5 with wParam=$target to \"$CONFIG_TITLE\"" \
        wait_for "$RUN_LOGS/config.log" "$from" 4 "msg=0x$(contract_hex4 kNotifyProfileOrMacroButton) wParam=$target "
    check "the settings file names profile $target as the active one" test "$(active_profile)" = "$target"
    run_quiet product_exe configstub.exe close "$DEMO_APP_TITLE"
    "$SCRIPTS/assign.sh" launch "$target" "" >/dev/null
}

unplug_and_plug() {
    UNPLUG_DEBUG="$(mark "$RUN_LOGS/debug.log")"
    UNPLUG_CONFIG="$(mark "$RUN_LOGS/config.log")"
    UNPLUG_TRAY="$(mark "$RUN_PRODUCT/trayicon.log")"
    "$SCRIPTS/mouse.sh" unplug >/dev/null
    sleep 1
    UNPLUG_STATUS="$(product_exe hidsimctl.exe status)"
    "$SCRIPTS/mouse.sh" press 0 >/dev/null 2>&1
    UNPLUG_PRESS=$?
    UNPLUG_TRAY_GONE=1
    run_quiet product_exe configstub.exe gone "$TRAY_TITLE" 3000 || UNPLUG_TRAY_GONE=0
    PLUG_DEBUG="$(mark "$RUN_LOGS/debug.log")"
    "$SCRIPTS/mouse.sh" plug >/dev/null
    sleep 1
    PLUG_STATUS="$(product_exe hidsimctl.exe status)"
    "$SCRIPTS/mouse.sh" click 0 >/dev/null 2>&1
    PLUG_CLICK=$?
}

step_unplug_service() {
    unplug_and_plug
    check "unplugged, the mouse says plugged=0" grep -q "plugged=0" <<<"$UNPLUG_STATUS"
    check "the service's debug line MONITORCLOSE" wait_for "$RUN_LOGS/debug.log" "$UNPLUG_DEBUG" 1 "MONITORCLOSE"
    check "a button press is refused while unplugged (mouse.sh exit code 1)" test "$UNPLUG_PRESS" -eq 1
    check "plugged in again, the mouse says plugged=1" grep -q "plugged=1" <<<"$PLUG_STATUS"
    check "the service's debug line MONITOROPEN" wait_for "$RUN_LOGS/debug.log" "$PLUG_DEBUG" 1 "MONITOROPEN"
    check "a click goes through again" test "$PLUG_CLICK" -eq 0
}

tray_closed_on_unplug() {
    wait_for "$RUN_PRODUCT/trayicon.log" "$UNPLUG_TRAY" 1 "msg=0x0010 " && [ "$UNPLUG_TRAY_GONE" -eq 1 ]
}

step_unplug_peers() {
    [ -n "${UNPLUG_CONFIG:-}" ] || unplug_and_plug
    check "0x4DD (mouse removed) reached \"$CONFIG_TITLE\"" wait_for "$RUN_LOGS/config.log" "$UNPLUG_CONFIG" 1 "msg=0x$(contract_hex4 kNotifyMouseRemoved) "
    check "the tray program got WM_CLOSE and closed" tray_closed_on_unplug
    check "the tray program runs again after the plug" run_quiet product_exe configstub.exe wait "$TRAY_TITLE" 5000
}

# --- the run -------------------------------------------------------------------

titles=(
    "start-up: window, mouse, debug lines, tray"
    "a settings change written into the mouse behind the progress dialog"
    "a while-held macro: the injected keys and their timing"
    "a profile switched by a program coming to the foreground"
    "unplug and plug: the mouse and the service"
    "unplug and plug: the configuration program and the tray are told"
)
functions=(step_startup step_full_write step_macro step_foreground step_unplug_service step_unplug_peers)

for n in 1 2 3 4 5 6; do
    [[ ",$wanted," == *",$n,"* ]] || continue
    step_begin "$n" "${titles[$((n - 1))]}"
    "${functions[$((n - 1))]}"
    step_end "$n" "${titles[$((n - 1))]}"
done

stop_own_run
echo
echo "Summary:"
failed=0
for line in "${SUMMARY[@]}"; do
    echo "$line"
    [[ "$line" == "  FAIL"* ]] && failed=1
done
if [ $failed -eq 0 ]; then
    echo "Every step did what it should."
    exit $EXIT_OK
fi
echo "Some steps did not do what they should (see above)."
exit $EXIT_FAILED
