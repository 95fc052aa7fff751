#!/bin/bash
# Drives the simulated mouse of the running service (scripts/run.sh), through
# its control channel. Finds the running environment by itself.
#
#   scripts/mouse.sh plug | unplug          plug the mouse in or pull it out
#   scripts/mouse.sh press N | release N    button with index N (0 to 9) goes down or up
#   scripts/mouse.sh click N                press, then release
#   scripts/mouse.sh scroll left|right      the mouse's horizontal scroll report (03 F2 / 03 F3)
#   scripts/mouse.sh zoom in|out            the mouse's zoom report (03 F4 / 03 F5)
#   scripts/mouse.sh status                 plugged=1 or plugged=0
#   scripts/mouse.sh memory                 what the mouse holds, in readable form
#   scripts/mouse.sh memory --raw           the same as the channel answers it
#
# Exit code: 0 done, 1 the mouse answered an error (for example: unplugged),
# 2 bad input, 3 no running service.
set -uo pipefail
# shellcheck source=lib/runenv.sh
source "$(dirname "$0")/lib/runenv.sh"

usage() {
    runenv_usage "$0" 2 15
    exit $EXIT_OK
}
refuse() {
    echo "mouse.sh: $*" >&2
    exit $EXIT_USAGE
}

# One request to the mouse; its answer on standard output.
request() {
    product_exe hidsimctl.exe "$@" 2> >(sed 's/^hidsimctl: /mouse.sh: /' >&2)
    local code=$?
    case $code in
        0) return $EXIT_OK ;;
        1) return $EXIT_FAILED ;;
        *) echo "mouse.sh: the simulated mouse does not answer (has the service ended?)" >&2
           return $EXIT_NOT_RUNNING ;;
    esac
}

[ $# -ge 1 ] || { runenv_usage "$0" 2 15 >&2; exit $EXIT_USAGE; }
verb="$1"
shift
arg="${1:-}"
case "$verb" in
    plug | unplug | status)
        [ $# -eq 0 ] || refuse "$verb takes no value"
        requests=("$verb") ;;
    press | release | click)
        [ $# -le 1 ] || refuse "$verb takes one button index"
        check_number "button index" "$arg" 0 9 || exit $EXIT_USAGE
        n=$((10#$arg))
        if [ "$verb" = click ]; then requests=("press $n" "release $n"); else requests=("$verb $n"); fi ;;
    scroll)
        [ $# -le 1 ] || refuse "scroll takes left or right"
        case "$arg" in
            left) requests=("report 03 f2") ;;
            right) requests=("report 03 f3") ;;
            "") refuse "scroll needs left or right" ;;
            *) refuse "scroll: unknown direction '$arg' (left or right)" ;;
        esac ;;
    zoom)
        [ $# -le 1 ] || refuse "zoom takes in or out"
        case "$arg" in
            in) requests=("report 03 f4") ;;
            out) requests=("report 03 f5") ;;
            "") refuse "zoom needs in or out" ;;
            *) refuse "zoom: unknown direction '$arg' (in or out)" ;;
        esac ;;
    memory)
        case "$*" in
            "") requests=("--readable memory") ;;
            --raw) requests=("memory") ;;
            *) refuse "memory takes nothing or --raw" ;;
        esac ;;
    -h | --help | help) usage ;;
    *) refuse "unknown command '$verb' (plug, unplug, press, release, click, scroll, zoom, status, memory)" ;;
esac

runenv_attach mouse.sh || exit $?
for r in "${requests[@]}"; do
    # shellcheck disable=SC2086 # each request is words for hidsimctl
    request $r || exit $?
done
exit $EXIT_OK
