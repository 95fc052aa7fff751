#!/bin/bash
# Runs one timing benchmark, on the host and under Wine (figures, not tests):
#   scripts/bench.sh macro [EVENTS]     macro events against their due times:
#                                       host clocks, then under Wine idle and
#                                       with two busy processes beside it
#   scripts/bench.sh latency [PRESSES]  a button press from the mouse's report
#                                       to the recorder, step by step
# Builds what it needs (scripts/build.sh). Run it on a quiet machine.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
case "${1:-}" in
    -h | --help | "") sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
esac
WHAT="$1"
COUNT="${2:-}"

# Runs a benchmark program of the Windows build under Wine, with the
# installed product beside it as the end-to-end tests have it.
under_wine() {
    # shellcheck source=../tests/wine/wine-env.sh
    source tests/wine/wine-env.sh
    wine_env_start
    local result=0
    ctest --test-dir build/win -R '^install_product$' >/dev/null || result=1
    if [ $result -eq 0 ]; then
        for args in "$@"; do
            # shellcheck disable=SC2086
            MOUSEHID_INSTALL_DIR="Z:${ROOT//\//\\}\\build\\win\\product" \
                tests/wine/wine-run.sh $args || result=1
        done
    fi
    wine_env_stop
    return $result
}

case "$WHAT" in
    macro)
        bash scripts/build.sh host macro_timing_bench
        bash scripts/build.sh win
        build/host/bench/macro_timing_bench
        events="${COUNT:-1040}"
        under_wine "build/win/tests/wine/actions/macro_on_time.exe $events 0" \
            "build/win/tests/wine/actions/macro_on_time.exe $events 2"
        ;;
    latency)
        bash scripts/build.sh host button_path_bench
        bash scripts/build.sh win
        build/host/bench/button_path_bench
        under_wine "build/win/tests/wine/actions/button_latency.exe ${COUNT:-1000}"
        ;;
    *) echo "bench.sh: macro or latency (--help)" >&2; exit 2 ;;
esac
