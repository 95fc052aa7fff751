#!/bin/bash
# Installs what is needed, builds both builds and runs every test:
# host unit tests (plain, with address/undefined and thread sanitizers),
# bounded fuzzing, and the Windows build's tests under Wine.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"

bash scripts/setup.sh

status=0
run() {
    echo "=== $*"
    if ! "$@"; then
        echo "=== FAILED: $*"
        status=1
    fi
}

host_tests() {
    local kind="$1"
    bash scripts/build.sh "$kind" &&
        ctest --test-dir "build/$kind" --output-on-failure -j 2
}

run host_tests host
run host_tests asan
TSAN_OPTIONS="halt_on_error=1" run host_tests tsan
if [ -x scripts/fuzz.sh ] || [ -f scripts/fuzz.sh ]; then
    run bash scripts/fuzz.sh "$ROOT/build/fuzz"
fi

windows_tests() {
    bash scripts/build.sh win || return 1
    # shellcheck source=../tests/wine/wine-env.sh
    source tests/wine/wine-env.sh
    wine_env_start
    local result=0
    ctest --test-dir build/win --output-on-failure || result=1
    wine_env_stop
    return $result
}
run windows_tests

if [ $status -eq 0 ]; then echo "=== all test suites passed"; else echo "=== some test suites FAILED"; fi
exit $status
