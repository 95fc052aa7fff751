#!/bin/bash
# The virtual display of the running service (scripts/run.sh). Finds the
# running environment by itself.
#
#   scripts/display.sh shot [FILE]    saves the whole display as a PNG picture
#                                     (default build/run/display.png); open it
#                                     with any image viewer
#   scripts/display.sh front NAME     brings a program with the file name NAME
#                                     (for example notepad.exe) to the front:
#                                     a copy of the stand-in window program under
#                                     that name, started once and kept until the
#                                     run ends, for trying profile switching
#                                     (scripts/assign.sh launch P NAME)
#
# Exit code: 0 done, 1 the picture could not be made or the window did not
# come up, 2 bad input, 3 no running service.
set -uo pipefail
# shellcheck source=lib/runenv.sh
source "$(dirname "$0")/lib/runenv.sh"

usage() { runenv_usage "$0" 2 16; }
refuse() {
    echo "display.sh: $*" >&2
    exit $EXIT_USAGE
}

[ $# -ge 1 ] || { usage >&2; exit $EXIT_USAGE; }
verb="$1"
shift
case "$verb" in
    -h | --help | help) usage; exit $EXIT_OK ;;
    shot)
        [ $# -le 1 ] || refuse "shot takes one file name at most"
        out="${1:-$RUN_DIR/display.png}" ;;
    front)
        [ $# -eq 1 ] || refuse "front takes one program file name, like notepad.exe"
        name="$1"
        [[ "$name" =~ ^[A-Za-z0-9_.-]+\.exe$ ]] ||
            refuse "'$name' is not a program file name (letters, digits, _ . -, ending in .exe)"
        [ "${name,,}" != mousehid.exe ] || refuse "mousehid.exe is the service itself" ;;
    *) refuse "unknown command '$verb' (shot, front)" ;;
esac

runenv_attach display.sh || exit $?

if [ "$verb" = shot ]; then
    mkdir -p "$(dirname "$out")"
    if xwd -root -silent -display "$DISPLAY" | convert xwd:- "png:$out" 2>/dev/null && [ -s "$out" ]; then
        echo "the display $DISPLAY is saved in $out"
        exit $EXIT_OK
    fi
    echo "display.sh: the picture of display $DISPLAY could not be made" >&2
    exit $EXIT_FAILED
fi

# The window's title names the program, so a second `front` of the same name
# finds the window that is already there.
title="Front program $name"
if ! product_exe configstub.exe wait "$title" 0 >/dev/null 2>&1; then
    cp "$RUN_PRODUCT/configstub.exe" "$RUN_PRODUCT/$name" ||
        { echo "display.sh: cannot make $RUN_PRODUCT/$name" >&2; exit $EXIT_FAILED; }
    setsid wine "$RUN_PRODUCT/$name" window "$title" "$(windows_path "$RUN_LOGS/front-${name%.exe}.log")" \
        >>"$RUN_LOGS/wine.log" 2>&1 &
    product_exe configstub.exe wait "$title" 10000 >/dev/null 2>&1 ||
        { echo "display.sh: the window of $name did not come up" >&2; exit $EXIT_FAILED; }
fi
if product_exe configstub.exe front "$title" >/dev/null 2>&1; then
    echo "$name is the foreground program (window \"$title\")"
    exit $EXIT_OK
fi
echo "display.sh: $name could not be brought to the front" >&2
exit $EXIT_FAILED
