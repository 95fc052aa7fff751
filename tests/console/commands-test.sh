#!/bin/bash
# The commands beside a run tell the truth, and the console summarizes, as a
# user meets them. One run (scripts/run.sh --no-build in the background):
#   - every script's --help prints its usage and exits 0; setup.sh --help
#     installs nothing (dpkg-query and apt-get are replaced by recorders);
#   - with no run, a command exits 3 and its message carries its own name;
#   - rate, apply (with a macro whose key stays down: assign.sh warns),
#     read-back: exit 0 and a last line saying what the mouse got; read-back
#     names each differing button, stored against read back;
#   - unplugged: apply, rate and read-back exit 1 with "the mouse is
#     unplugged: nothing was written";
#   - the console: the macro area's 378 data reports are one line, the
#     report rate and the logo light are decoded;
#   - display.sh saves the display as a picture and brings a named program
#     to the front; assign.sh reset gives the installed settings back.
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
# expect CODE LAST-LINE-PATTERN what command...: the command's exit code and
# the last line of everything it printed.
expect() {
    local code="$1" pattern="$2" what="$3" out got
    shift 3
    out="$("$@" 2>&1)"
    got=$?
    local last
    last="$(tail -n 1 <<<"$out")"
    if [ "$got" -ne "$code" ] || ! grep -qE -- "$pattern" <<<"$last"; then
        fail "$what: exit $got (wanted $code), last line '$last' (wanted /$pattern/); it printed:"
        sed 's/^/    /' <<<"$out"
        return 1
    fi
    echo "ok: $what: exit $got, '$last'"
    LAST_OUTPUT="$out"
}

if [ -n "$(state_get RUN_PID 2>/dev/null)" ] && pid_is "$(state_get RUN_PID)" run.sh; then
    echo "A run is alive already; this test needs the machine's run to itself." >&2
    exit 1
fi

# --- --help everywhere, without a run ---
recorder="$(mktemp -d)"
for tool in dpkg-query apt-get locale-gen sudo; do
    printf '#!/bin/sh\necho "$0 $*" >>"%s/calls"\nexit 1\n' "$recorder" >"$recorder/$tool"
    chmod +x "$recorder/$tool"
done
for script in run stop setup build test fuzz demo control mouse assign display; do
    out="$(PATH="$recorder:$PATH" timeout 10 bash "scripts/$script.sh" --help 2>&1)"
    code=$?
    [ $code -eq 0 ] || fail "$script.sh --help exited $code"
    grep -q "$script.sh" <<<"$out" || fail "$script.sh --help does not show its usage: $out"
done
[ -s "$recorder/calls" ] && fail "--help ran the set-up: $(cat "$recorder/calls")"
rm -rf "$recorder"
echo "ok: every script's --help"

expect 3 "^control.sh: no service is running" "control.sh without a run" scripts/control.sh rate 1
expect 2 "^mouse.sh: button index '11' is not a number 0 to 9" "mouse.sh with a bad index" scripts/mouse.sh press 11

# --- one run ---
log="$(mktemp)"
scripts/run.sh --no-build >"$log" 2>&1 &
run_pid=$!
up=0
for _ in $(seq 1 900); do
    scripts/mouse.sh status >/dev/null 2>&1 && { up=1; break; }
    kill -0 "$run_pid" 2>/dev/null || break
    sleep 0.2
done
if [ $up -eq 0 ]; then
    fail "the service did not come up; the run said:"
    cat "$log"
    kill -TERM "$run_pid" 2>/dev/null
    wait "$run_pid"
    exit 1
fi

# The installed settings, whatever an earlier run left in the prefix.
expect 0 "^posted 0x677" "reset at the start" scripts/assign.sh reset
expect 0 "^the mouse got report rate: code 01 \(index 1\)$" "rate 1" scripts/control.sh rate 1
expect 0 "^posted 0x677" "a macro that leaves its key down" \
    scripts/assign.sh 4 Macro mode held macro "A+ 40ms LShift+ 20ms A-"
grep -q "^assign.sh: warning: the macro leaves LShift down at its end" <<<"$LAST_OUTPUT" ||
    fail "assign.sh did not warn about LShift left down: $LAST_OUTPUT"
expect 0 "^posted 0x677" "a macro that releases every key" scripts/assign.sh 4 Macro macro "A+ 40ms A-"
grep -q "warning" <<<"$LAST_OUTPUT" && fail "assign.sh warned about a macro that releases its keys"
expect 0 "^the mouse got the whole profile: the button table \(5 reports\), the macro area \(378 reports\), logo light: on \(FF\)" \
    "apply" scripts/control.sh apply
# The simulated mouse holds one button table (the active profile's, just
# written) and answers it for every profile slot the read-back asks for, so
# the other profiles' buttons that differ from it are listed, by name.
expect 0 "^the mouse sent [0-9]+ reports back: ([0-9]+ button\(s\) read back differ from the settings|every button read back agrees with the settings)$" \
    "read-back" scripts/control.sh read-back
listed="$(grep -cE "^  profile [0-9] button [0-9]: stored .* \([0-9]+\), read back .* \([0-9]+\)" <<<"$LAST_OUTPUT")"
differ="$(sed -n 's/.*: \([0-9]*\) button(s) read back differ.*/\1/p' <<<"$LAST_OUTPUT")"
[ "$listed" = "${differ:-0}" ] || fail "read-back listed $listed buttons for ${differ:-0} that differ: $LAST_OUTPUT"
# What the service wrote reads back as itself, in the mouse's own encoding:
# XButton1's code is no longer taken for WheelUp (function 4 for 9).
grep -qE "stored XButton1 \(4\), read back WheelUp \(9\)" <<<"$LAST_OUTPUT" &&
    fail "read-back took XButton1's own code for WheelUp: $LAST_OUTPUT"

expect 0 "" "unplug" scripts/mouse.sh unplug
for command in apply "rate 2" read-back; do
    # shellcheck disable=SC2086 # the command's words
    expect 1 "^control.sh: the mouse is unplugged: nothing was written$" "$command while unplugged" \
        scripts/control.sh $command
done
expect 0 "" "plug" scripts/mouse.sh plug

shot="$(mktemp -u --suffix=.png)"
expect 0 "^the display :[0-9]+ is saved in $shot$" "display.sh shot" scripts/display.sh shot "$shot"
[ "$(head -c 4 "$shot" | tail -c 3)" = PNG ] || fail "display.sh shot did not make a PNG picture"
rm -f "$shot"
expect 0 "^frontapp.exe is the foreground program" "display.sh front" scripts/display.sh front frontapp.exe
expect 2 "not a program file name" "display.sh front with a bad name" scripts/display.sh front "../x.exe"

expect 0 "^posted 0x677" "reset" scripts/assign.sh reset
expect 0 "" "show after the reset" scripts/assign.sh show 4
grep -q "Macro" <<<"$LAST_OUTPUT" && fail "button 4 is still a macro after the reset: $LAST_OUTPUT"

# The service's own lines: a reload, a launch, a profile switch with its
# reason, a scroll and a zoom that found nothing under the pointer.
debug_from="$(wc -l <"$RUN_LOGS/debug.log")"
expect 0 "^posted 0x677" "a launch button" scripts/assign.sh 6 LaunchProgram path launchmarker.exe
expect 0 "" "the launch button clicked" scripts/mouse.sh click 6
expect 0 "^posted 0x677" "profile 2 follows frontapp.exe" scripts/assign.sh launch 2 frontapp.exe
expect 0 "is the foreground program" "frontapp.exe to the front again" scripts/display.sh front frontapp.exe
expect 0 "" "scroll" scripts/mouse.sh scroll left
expect 0 "" "zoom" scripts/mouse.sh zoom in
sleep 3  # the foreground watch's tick
service_lines="$(tail -n +"$((debug_from + 1))" "$RUN_LOGS/debug.log" | tr -d '\r')"
for line in "RELOADSETTINGS:profile=[0-9]" "LAUNCH:launchmarker.exe" "PROFILESWITCH:2,frontapp.exe is in front" \
    "SCROLL:nothing scrolled, " "ZOOM:no "; do
    grep -q "$line" <<<"$service_lines" || fail "the service's debug lines have no '$line'"
done
grep -q "PROFILESWITCH" "$log" || fail "the console does not show the profile switch"

kill -TERM "$run_pid"
wait "$run_pid"

# The console: the macro area is one line, the values decoded.
console="$(cat "$log")"
grep -qE "mouse   got data    macro area: 378 reports over [0-9]+\.[0-9]{3} s$" <<<"$console" ||
    fail "the console has no folded line of the macro area's 378 reports"
grep -qE "mouse   got data    button table: 5 reports over" <<<"$console" ||
    fail "the console has no folded line of the button table's 5 reports"
single="$(grep -cE "got data    [0-9a-f]{2} " <<<"$console")"
[ "$single" -eq 0 ] || fail "the console shows $single data reports one by one"
grep -q "(report rate: code 01 (index 1))" <<<"$console" || fail "the console does not decode the report rate"
grep -q "(logo light: on (FF))" <<<"$console" || fail "the console does not decode the logo light"
[ $failures -eq 0 ] && echo "ok: the console folds the data reports and decodes the values"
rm -f "$log"

if [ $failures -eq 0 ]; then
    echo "PASSED: the commands tell the truth and the console summarizes"
    exit 0
fi
exit 1
