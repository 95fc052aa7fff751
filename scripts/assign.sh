#!/bin/bash
# Edits button assignments in the running service's settings file by name,
# as the configuration program would, then posts 0x677 (reload settings) so
# the service takes them at once. Finds the running environment by itself.
#
#   scripts/assign.sh [--profile P] INDEX FUNCTION [key K] [macro "EVENTS"] [mode held|toggle|N]
#                     [path TEXT] [name TEXT]
#   scripts/assign.sh show [--profile P] [INDEX]
#   scripts/assign.sh launch P FILE     the program whose coming to the front selects profile P
#   scripts/assign.sh names             every function and key name
#
# INDEX is the button index 0 to 9 (the one scripts/mouse.sh presses); P a
# profile slot 0 to 5, by default the active one. Examples:
#   scripts/assign.sh 3 KeyboardKey key A
#   scripts/assign.sh 4 Macro mode held macro "LShift+ A+ 40ms A- LShift-"
#   scripts/assign.sh 5 LaunchProgram path notepad.exe
#   scripts/assign.sh launch 2 notepad.exe
#
# Exit code: 0 done, 1 the settings file is missing or cannot be written,
# 2 bad input (the message says which), 3 no running service.
set -uo pipefail
# shellcheck source=lib/runenv.sh
source "$(dirname "$0")/lib/runenv.sh"
# shellcheck source=lib/contract.sh
source "$(dirname "$0")/lib/contract.sh"

if [ $# -eq 0 ] || [ "$1" = "-h" ] || [ "$1" = "--help" ]; then
    sed -n '6,19p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit $EXIT_USAGE
fi
case "$1" in
    show | launch | names) command=("$@") ;;
    *) command=(assign "$@") ;;
esac

runenv_attach || exit $?
product_exe settingsedit.exe "${command[@]}"
code=$?
case $code in
    0) ;;
    1) exit $EXIT_FAILED ;;
    2) exit $EXIT_USAGE ;;
    *) echo "assign.sh: the settings editor ended with code $code" >&2; exit $EXIT_FAILED ;;
esac
if [ "${command[0]}" = assign ] || [ "${command[0]}" = launch ]; then
    if product_exe configstub.exe post "$(contract_number kMsgReloadSettings)" 0 0; then
        echo "posted 0x677 (reload settings) to \"$SERVICE_TITLE\""
    else
        echo "assign.sh: the service's window is not there; the change waits in the settings file" >&2
    fi
fi
exit $EXIT_OK
