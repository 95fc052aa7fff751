#!/bin/bash
# Runs one Windows program of the build under the run's Wine environment
# (CTest's emulator for the Windows build). Needs the environment of
# wine-env.sh: DISPLAY, WINEPREFIX.
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
    echo "wine-run.sh: no Wine environment (source tests/wine/wine-env.sh; wine_env_start)" >&2
    exit 2
fi
exec wine "$@"
