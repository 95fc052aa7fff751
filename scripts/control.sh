#!/bin/bash
# Sends the running service (scripts/run.sh) the messages its configuration
# programs send, posted to its window "Lunket_GamingMouseHid". Finds the
# running environment by itself.
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
# Exit code: 0 posted (and, for apply and adopt, answered), 1 posted but no
# answer came, 2 bad input, 3 no running service.
set -uo pipefail
# shellcheck source=lib/runenv.sh
source "$(dirname "$0")/lib/runenv.sh"
# shellcheck source=lib/contract.sh
source "$(dirname "$0")/lib/contract.sh"

ANSWER_WAIT_S=20

usage() {
    sed -n '6,17p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit $EXIT_USAGE
}
refuse() {
    echo "control.sh: $*" >&2
    exit $EXIT_USAGE
}
one_value() {
    [ $# -le 2 ] || refuse "$1 takes one value"
}

# Lines of a stand-in's log that record message $2 (hex, 4 digits).
count_received() {
    local log="$1" message="$2"
    grep -c "msg=0x$message " "$log" 2>/dev/null || true
}

[ $# -ge 1 ] || usage
verb="$1"
value="${2:-}"
answer=""       # message the stand-in gets when the service is done, 4 hex digits
answer_log=""
case "$verb" in
    apply) [ $# -eq 1 ] || refuse "apply takes no value"
        message=$(contract_number kMsgFullWrite) wparam=0 answer=$(contract_hex4 kNotifyFullWriteDone) answer_log=config.log ;;
    rate) one_value "$@"; check_number "report-rate index" "$value" 0 3 || exit $EXIT_USAGE
        message=$(contract_number kMsgSetPollingRate) wparam=$((10#$value)) ;;
    stage) one_value "$@"; check_number "stage" "$value" 0 4 || exit $EXIT_USAGE
        message=$(contract_number kMsgWriteStages) wparam=$((10#$value)) ;;
    lift) one_value "$@"; check_number "lift-off level" "$value" 1 10 || exit $EXIT_USAGE
        message=$(contract_number kMsgSetLiftOff) wparam=$((10#$value)) ;;
    logo) one_value "$@"
        case "$value" in
            on | 4) wparam=4 ;;
            off | 0) wparam=0 ;;
            "") refuse "missing logo value (0 or off, 4 or on)" ;;
            *) refuse "logo value '$value' is neither 0 (off) nor 4 (on)" ;;
        esac
        message=$(contract_number kMsgSetLogoLight) ;;
    scroll-flag) one_value "$@"; check_number "scroll flag" "$value" 0 1 || exit $EXIT_USAGE
        message=$(contract_number kMsgSetUniversalScroll) wparam=$((10#$value)) ;;
    read-back) [ $# -eq 1 ] || refuse "read-back takes no value"
        message=0x113 wparam=$(contract_number kReadBackStep1TimerId) ;;   # WM_TIMER with the read-back chain's first timer id
    adopt) [ $# -eq 1 ] || refuse "adopt takes no value"
        message=$(contract_number kMsgAdoptDeviceImage) wparam=0 answer=$(contract_hex4 kNotifyDeviceImageAdopted) answer_log=pevo.log ;;
    reload) [ $# -eq 1 ] || refuse "reload takes no value"
        message=$(contract_number kMsgReloadSettings) wparam=0 ;;
    -h | --help | help) usage ;;
    *) refuse "unknown command '$verb' (apply, rate, stage, lift, logo, scroll-flag, read-back, adopt, reload)" ;;
esac

runenv_attach || exit $?
before=0
[ -n "$answer" ] && before="$(count_received "$RUN_LOGS/$answer_log" "$answer")"
if ! product_exe configstub.exe post "$message" "$wparam" 0; then
    echo "control.sh: the service's window \"$SERVICE_TITLE\" is not there" >&2
    exit $EXIT_NOT_RUNNING
fi
printf 'posted %s wParam=%s to "%s"\n' "$message" "$wparam" "$SERVICE_TITLE"
[ -n "$answer" ] || exit $EXIT_OK

for _ in $(seq 1 $((ANSWER_WAIT_S * 10))); do
    if [ "$(count_received "$RUN_LOGS/$answer_log" "$answer")" -gt "$before" ]; then
        printf 'answered: 0x%s arrived at the stand-in (%s)\n' "${answer^^}" "$answer_log"
        exit $EXIT_OK
    fi
    sleep 0.1
done
echo "control.sh: no 0x${answer^^} came back within ${ANSWER_WAIT_S} s" >&2
exit $EXIT_FAILED
