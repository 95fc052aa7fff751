#!/bin/bash
# Installs what is needed, builds both builds and runs every test:
# host unit tests (plain, with address/undefined and thread sanitizers),
# bounded fuzzing, and the Windows build's tests under Wine, two at a time.
#   scripts/test.sh
set -euo pipefail
case "${1:-}" in -h | --help) sed -n '2,5p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;; esac
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"

bash scripts/setup.sh

status=0
run() {
    echo "=== $*"
    local started=$SECONDS
    if ! "$@"; then
        echo "=== FAILED: $* (after $((SECONDS - started)) s)"
        status=1
    else
        echo "=== passed: $* in $((SECONDS - started)) s"
    fi
}

# The plain build runs each test in a process of its own (ctest), and the
# unit tests also all in one process, in any order.
host_tests() {
    bash scripts/build.sh host &&
        ctest --test-dir build/host --output-on-failure -j 2 &&
        shuffled build/host/tests/unit/unit_tests
}

# The sanitizer builds run every test once, each program in one process,
# shuffled: a process per test would spend most of the time starting the
# sanitizer's runtime.
sanitizer_tests() {
    bash scripts/build.sh "$1" unit_tests window_conformance_tests &&
        shuffled "build/$1/tests/unit/unit_tests" &&
        shuffled "build/$1/tests/conformance/window_conformance_tests"
}

# Runs a test program's tests in one process, shuffled. The seed is printed
# for replay (--gtest_random_seed=N).
shuffled() {
    local seed=$(( (RANDOM << 15 | RANDOM) % 99999 + 1 ))
    echo "=== $1 in one process, shuffled with seed $seed"
    "$1" --gtest_shuffle --gtest_random_seed="$seed" --gtest_brief=1
}

run host_tests
run sanitizer_tests asan
TSAN_OPTIONS="halt_on_error=1" run sanitizer_tests tsan
if [ -x scripts/fuzz.sh ] || [ -f scripts/fuzz.sh ]; then
    run bash scripts/fuzz.sh "$ROOT/build/fuzz"
fi

# The Wine tests run two at a time, each in a Wine environment of its own
# (display, prefix, wineserver): ctest hands out the environments as slots
# of the resource "wine".
windows_tests() {
    bash scripts/build.sh win || return 1
    # shellcheck source=../tests/wine/wine-env.sh
    source tests/wine/wine-env.sh
    wine_env_start
    wine_env_add_slots 2
    local result=0
    ctest --test-dir build/win --output-on-failure -j 2 --resource-spec-file "$WINE_RUN_DIR/resources.json" ||
        result=1
    wine_env_stop
    return $result
}
run windows_tests

if [ $status -eq 0 ]; then echo "=== all test suites passed"; else echo "=== some test suites FAILED"; fi
exit $status
