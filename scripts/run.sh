#!/bin/bash
# Builds the product and starts the service under Wine on a virtual display,
# installed with the simulated mouse beside it. It runs until its window is
# closed; Ctrl-C closes the window, as the tray program would, and waits for
# the clean shut-down.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"

bash scripts/setup.sh
bash scripts/build.sh win
PRODUCT="$ROOT/build/product"
rm -rf "$PRODUCT"
cmake --install build/win --prefix "$PRODUCT" >/dev/null
cmake --install build/win --prefix "$PRODUCT" --component testsupport >/dev/null

# shellcheck source=../tests/wine/wine-env.sh
source tests/wine/wine-env.sh
wine_env_start
echo "Wine environment: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"

if [ -f "$ROOT/scripts/run-mouse.sh" ]; then
    # shellcheck source=run-mouse.sh
    source "$ROOT/scripts/run-mouse.sh"
fi

stopping=0
stop_service() {
    [ $stopping -eq 1 ] && return
    stopping=1
    echo
    echo "Closing the service window..."
    wine "$PRODUCT/configstub.exe" close Lunket_GamingMouseHid >/dev/null 2>&1 || true
}
trap stop_service INT TERM

# Its debug lines (OutputDebugStringW) go to the debugstr channel.
WINEDEBUG="-all,+debugstr" setsid wine "$PRODUCT/mousehid.exe" &
SERVICE=$!
echo "Service started (pid $SERVICE); Ctrl-C closes it. Its debug lines go to standard error where"
echo "this Wine build prints its debugstr channel."
set +e
while kill -0 "$SERVICE" 2>/dev/null; do
    wait "$SERVICE"
done
wait "$SERVICE" 2>/dev/null
code=$?
set -e
echo "Service ended with exit code $code."
wine_env_stop
