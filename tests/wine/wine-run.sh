#!/bin/bash
# Runs one Windows program of the build under the run's Wine environment
# (CTest's emulator for the Windows build), or under the environment of the
# slot ctest gave the test (wine-slot.sh). Needs the environment of
# wine-env.sh: DISPLAY, WINEPREFIX.
source "$(dirname "$0")/wine-slot.sh"
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
    echo "wine-run.sh: no Wine environment (source tests/wine/wine-env.sh; wine_env_start)" >&2
    exit 2
fi
exec wine "$@"
