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
#   scripts/assign.sh reset             the settings as installed: config.ini, Profile 1.ini and
#                                       Macro 1.ini of the product copied over the user's
#
# INDEX is the button index 0 to 9 (the one scripts/mouse.sh presses); P a
# profile slot 0 to 5, by default the active one. A macro that leaves a key
# down at its end (a KEY+ without a later KEY-) is assigned, with a warning.
# Examples:
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

if [ $# -eq 0 ]; then
    runenv_usage "$0" 2 24 >&2
    exit $EXIT_USAGE
fi
case "$1" in
    -h | --help) runenv_usage "$0" 2 24; exit $EXIT_OK ;;
    show | launch | names) command=("$@") ;;
    reset) [ $# -eq 1 ] || { echo "assign.sh: reset takes nothing" >&2; exit $EXIT_USAGE; }
        command=(reset) ;;
    *) command=(assign "$@") ;;
esac

# The keys a macro's events leave down at its end, in the order pressed.
keys_left_down() {
    local -a down=()
    local word key i kept
    for word in $1; do
        case "$word" in
            *+) key="${word%+}" ;;
            *-) key="${word%-}" ;;
            *) continue ;;
        esac
        kept=()
        for i in "${down[@]}"; do [ "${i,,}" = "${key,,}" ] || kept+=("$i"); done
        down=("${kept[@]}")
        [[ "$word" == *+ ]] && down+=("$key")
    done
    echo "${down[*]}"
}

if [ "${command[0]}" = assign ]; then
    for ((i = 1; i < ${#command[@]}; i++)); do
        if [ "${command[$i]}" = macro ] && [ $((i + 1)) -lt ${#command[@]} ]; then
            left="$(keys_left_down "${command[$((i + 1))]}")"
            [ -z "$left" ] ||
                echo "assign.sh: warning: the macro leaves $left down at its end (no ${left// /-, }- after it)" >&2
        fi
    done
fi

runenv_attach assign.sh || exit $?

# The user's data folder in the run's prefix: %APPDATA%\Tolvy Wimb.
data_folder() {
    local folder
    for folder in "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/"Tolvy Wimb"; do
        [ -f "$folder/config.ini" ] && { echo "$folder"; return 0; }
    done
    return 1
}

if [ "${command[0]}" = reset ]; then
    folder="$(data_folder)" || { echo "assign.sh: no settings file in the run's prefix" >&2; exit $EXIT_FAILED; }
    cp "$RUN_PRODUCT/config.ini" "$folder/config.ini" &&
        cp "$RUN_PRODUCT/Profile 1.ini" "$folder/Profiles/Profiles/Profile 1.ini" &&
        cp "$RUN_PRODUCT/Macro 1.ini" "$folder/Macros/Macros/Macro 1.ini" ||
        { echo "assign.sh: the installed settings could not be copied into $folder" >&2; exit $EXIT_FAILED; }
    echo "the settings are the installed ones again (config.ini, Profile 1.ini, Macro 1.ini)"
else
    product_exe settingsedit.exe "${command[@]}" 2> >(sed 's/settingsedit\( assign\)\{0,1\}/assign.sh/g' >&2)
    code=$?
    case $code in
        0) ;;
        1) exit $EXIT_FAILED ;;
        2) exit $EXIT_USAGE ;;
        *) echo "assign.sh: the settings could not be changed (code $code)" >&2; exit $EXIT_FAILED ;;
    esac
fi
if [ "${command[0]}" != show ] && [ "${command[0]}" != names ]; then
    if product_exe configstub.exe post "$(contract_number kMsgReloadSettings)" 0 0; then
        echo "posted 0x677 (reload settings) to \"$SERVICE_TITLE\""
    else
        echo "assign.sh: the service's window is not there; the change waits in the settings file" >&2
    fi
fi
exit $EXIT_OK
