#!/bin/bash
# Sends the running service (scripts/run.sh) the messages its configuration
# programs send, posted to its window "Lunket_GamingMouseHid", and says from
# the simulated mouse's log whether the mouse got what the message is for.
# Finds the running environment by itself.
#
#   scripts/control.sh apply            0x4DE  write the active profile into the mouse behind the
#                                              progress dialog; waits for 0x4E1 back (up to 20 s)
#   scripts/control.sh rate R           0x4DF  report-rate index R, 0 to 3
#   scripts/control.sh stage N          0x4E3  the active profile's stages, then stage N (0 to 4) selected
#   scripts/control.sh lift V           0x4E2  lift-off level V, 1 to 10
#   scripts/control.sh logo V           0x4E5  logo light: 0 (off) or 4 (on); on and off also do
#   scripts/control.sh scroll-flag 0|1  0x4E6  universal scrolling off or on
#   scripts/control.sh read-back        WM_TIMER 515: read the button table back out of the mouse
#   scripts/control.sh adopt            0x672  take what was read back into the settings file;
#                                              waits for 0x673 back (up to 20 s)
#   scripts/control.sh reload           0x677  reload the settings file
#
# The last line says what the mouse got ("the mouse got ..."), or plainly
# that it got nothing ("the mouse is unplugged: nothing was written").
# Exit code: 0 the mouse got what the command is for (apply, rate, stage,
# lift, logo, scroll-flag, read-back) or the service answered (adopt) or
# the message was posted (reload); 1 it did not, or no answer came; 2 bad
# input; 3 no running service.
set -uo pipefail
# shellcheck source=lib/runenv.sh
source "$(dirname "$0")/lib/runenv.sh"
# shellcheck source=lib/mouselog.sh
source "$(dirname "$0")/lib/mouselog.sh"
# shellcheck source=lib/console.sh
source "$(dirname "$0")/lib/console.sh"  # the names of the mouse's commands
# shellcheck source=lib/contract.sh
source "$(dirname "$0")/lib/contract.sh"

ANSWER_WAIT_S=20
MOUSE_WAIT_S=3       # a single setting reaches the mouse at once
READ_BACK_WAIT_S=10  # the read-back chain's five steps

usage() {
    runenv_usage "$0" 2 24
    exit $EXIT_OK
}
refuse() {
    echo "control.sh: $*" >&2
    exit $EXIT_USAGE
}
one_value() {
    [ $# -le 2 ] || refuse "$1 takes one value"
}
fail() {
    echo "control.sh: $*" >&2
    exit $EXIT_FAILED
}

# Lines of a stand-in's log that record message $2 (hex, 4 digits).
count_received() {
    local log="$1" message="$2"
    grep -c "msg=0x$message " "$log" 2>/dev/null || true
}

[ $# -ge 1 ] || { runenv_usage "$0" 2 24 >&2; exit $EXIT_USAGE; }
verb="$1"
value="${2:-}"
answer=""       # message the stand-in gets when the service is done, 4 hex digits
answer_log=""
commands=()     # command codes the mouse must get
case "$verb" in
    apply) [ $# -eq 1 ] || refuse "apply takes no value"
        message=$(contract_number kMsgFullWrite) wparam=0 answer=$(contract_hex4 kNotifyFullWriteDone) answer_log=config.log commands=(04 0a 07 06 09 08) ;;
    rate) one_value "$@"; check_number "report-rate index" "$value" 0 3 || exit $EXIT_USAGE
        message=$(contract_number kMsgSetPollingRate) wparam=$((10#$value)) commands=(01) ;;
    stage) one_value "$@"; check_number "stage" "$value" 0 4 || exit $EXIT_USAGE
        message=$(contract_number kMsgWriteStages) wparam=$((10#$value)) commands=(06 09) ;;
    lift) one_value "$@"; check_number "lift-off level" "$value" 1 10 || exit $EXIT_USAGE
        message=$(contract_number kMsgSetLiftOff) wparam=$((10#$value)) commands=(08) ;;
    logo) one_value "$@"
        case "$value" in
            on | 4) wparam=4 ;;
            off | 0) wparam=0 ;;
            "") refuse "missing logo value (0 or off, 4 or on)" ;;
            *) refuse "logo value '$value' is neither 0 (off) nor 4 (on)" ;;
        esac
        message=$(contract_number kMsgSetLogoLight) commands=(0a) ;;
    scroll-flag) one_value "$@"; check_number "scroll flag" "$value" 0 1 || exit $EXIT_USAGE
        message=$(contract_number kMsgSetUniversalScroll) wparam=$((10#$value)) commands=(07) ;;
    read-back) [ $# -eq 1 ] || refuse "read-back takes no value"
        message=0x113 wparam=$(contract_number kReadBackStep1TimerId) commands=(83 84) ;;   # WM_TIMER with the read-back chain's first timer id
    adopt) [ $# -eq 1 ] || refuse "adopt takes no value"
        message=$(contract_number kMsgAdoptDeviceImage) wparam=0 answer=$(contract_hex4 kNotifyDeviceImageAdopted) answer_log=pevo.log ;;
    reload) [ $# -eq 1 ] || refuse "reload takes no value"
        message=$(contract_number kMsgReloadSettings) wparam=0 ;;
    -h | --help | help) usage ;;
    *) refuse "unknown command '$verb' (apply, rate, stage, lift, logo, scroll-flag, read-back, adopt, reload)" ;;
esac

runenv_attach control.sh || exit $?
before=0
[ -n "$answer" ] && before="$(count_received "$RUN_LOGS/$answer_log" "$answer")"
# Unplugged, nothing can reach the mouse: a short look at its log is enough.
plugged_before="$(mouselog_plug_state)"
mark="$(mouselog_mark)"
debug_mark="$(wc -l <"$RUN_LOGS/debug.log" 2>/dev/null || echo 0)"
if ! product_exe configstub.exe post "$message" "$wparam" 0; then
    echo "control.sh: the service's window \"$SERVICE_TITLE\" is not there" >&2
    exit $EXIT_NOT_RUNNING
fi
printf 'posted %s wParam=%s to "%s"\n' "$message" "$wparam" "$SERVICE_TITLE"

if [ -n "$answer" ]; then
    answered=0
    for _ in $(seq 1 $((ANSWER_WAIT_S * 10))); do
        if [ "$(count_received "$RUN_LOGS/$answer_log" "$answer")" -gt "$before" ]; then
            answered=1
            break
        fi
        sleep 0.1
    done
    [ $answered -eq 1 ] || fail "no 0x${answer^^} came back within ${ANSWER_WAIT_S} s"
    printf 'answered: 0x%s arrived at the stand-in (%s)\n' "${answer^^}" "$answer_log"
fi
[ ${#commands[@]} -gt 0 ] || exit $EXIT_OK

# What the mouse got: the service answers 0x4E1 whether or not the mouse was
# there, so only the mouse's own log tells.
wait_s=$MOUSE_WAIT_S
[ "$verb" = read-back ] && wait_s=$READ_BACK_WAIT_S
[ -n "$answer" ] && wait_s=1
[ "$plugged_before" = plugged ] || wait_s=1
if ! mouselog_wait_for "$mark" "$wait_s" "${commands[@]}"; then
    got="$(mouselog_commands "$mark" | sort -u | tr '\n' ' ')"
    case "$(mouselog_plug_state)" in
        unplugged) fail "the mouse is unplugged: nothing was written" ;;
        "") fail "the simulated mouse does not answer: nothing was written" ;;
    esac
    [ -z "$got" ] && fail "the mouse got nothing: nothing was written"
    missing=""
    for code in "${commands[@]}"; do
        grep -qw "$code" <<<"$got" || missing+="$(console_command_name "$code"), "
    done
    fail "the mouse did not get everything: no ${missing%, }"
fi

describe() {  # the last command $1 the mouse got, with its value
    console_command_meaning "$(mouselog_command_bytes "$mark" "$1")"
}
case "$verb" in
    apply)
        table="$(mouselog_data_after "$mark" 04)"
        macros="$(mouselog_data_after "$mark" 05)"
        [ "$table" -eq 5 ] || fail "the mouse got $table of the button table's 5 data reports"
        if mouselog_got_all "$mark" 05; then
            [ "$macros" -eq 378 ] || fail "the mouse got $macros of the macro area's 378 data reports"
            macro_text="the macro area (378 reports)"
        else
            macro_text="no macro area (no button plays a macro)"
        fi
        echo "the mouse got the whole profile: the button table (5 reports), $macro_text," \
            "$(describe 0a), $(describe 07), the stages, $(describe 09), $(describe 08)" ;;
    stage) echo "the mouse got the resolution stages and $(describe 09)" ;;
    read-back)
        # The service ends the read-back with the debug line
        # "READBACK:done,differ=N", after one "READBACK:profile=P,button=B,
        # stored=S,read=R,macro=M" line per button that differs.
        sent="$(mouselog_sent "$mark")"
        done_line=""
        for _ in $(seq 1 $((READ_BACK_WAIT_S * 10))); do
            done_line="$(tail -n +"$((debug_mark + 1))" "$RUN_LOGS/debug.log" | tr -d '\r' |
                grep -o 'READBACK:done,differ=[0-9]*' | tail -n 1)"
            [ -n "$done_line" ] && break
            sleep 0.1
        done
        sent="$(mouselog_sent "$mark")"
        [ -n "$done_line" ] || fail "the mouse got the read-back requests, but the service did not finish the read-back"
        [ "$sent" -gt 0 ] || fail "the mouse got the read-back requests but sent nothing back"
        differ="${done_line#*differ=}"
        if [ "$differ" -eq 0 ]; then
            echo "the mouse sent $sent reports back: every button read back agrees with the settings"
            exit $EXIT_OK
        fi
        names="$(product_exe settingsedit.exe names 2>/dev/null | tr -d '\r')"
        function_name() {  # the function of code $1 by name, with its code
            local name
            name="$(awk -v c="$1" '/^keys:/ { exit } NF == 2 && $2 == c { print $1; exit }' <<<"$names")"
            echo "${name:-function} ($1)"
        }
        echo "buttons that differ, as stored in the settings and as read back out of the mouse:"
        tail -n +"$((debug_mark + 1))" "$RUN_LOGS/debug.log" | tr -d '\r' |
            grep -o 'READBACK:profile=[0-9]*,button=[0-9]*,stored=[0-9]*,read=[0-9]*,macro=[01]' |
            while IFS=',' read -r profile button stored read macro; do
                profile="${profile#*profile=}" button="${button#button=}"
                stored="${stored#stored=}" read="${read#read=}" macro="${macro#macro=}"
                line="  profile $profile button $button: stored $(function_name "$stored"), read back $(function_name "$read")"
                [ "$macro" = 1 ] && line+=", and its macro differs"
                echo "$line"
            done
        echo "the mouse sent $sent reports back: $differ button(s) read back differ from the settings" ;;
    *) echo "the mouse got $(describe "${commands[0]}")" ;;
esac
exit $EXIT_OK
