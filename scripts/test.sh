#!/bin/bash
# Installs what is needed, builds both builds and runs every test:
# host unit tests (plain, with address/undefined and thread sanitizers),
# bounded fuzzing, and the Windows build's tests under Wine.
#   scripts/test.sh
set -euo pipefail
case "${1:-}" in -h | --help) sed -n '2,5p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;; esac
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
        ctest --test-dir "build/$kind" --output-on-failure -j 2 &&
        shuffled_unit_tests "$kind"
}

# ctest runs each test in a process of its own; the unit tests must also
# pass all in one process, in any order. The seed is printed for replay
# (--gtest_random_seed=N).
shuffled_unit_tests() {
    local seed=$(( (RANDOM << 15 | RANDOM) % 99999 + 1 ))
    echo "=== unit tests in one process, shuffled with seed $seed"
    "build/$1/tests/unit/unit_tests" --gtest_shuffle --gtest_random_seed="$seed" --gtest_brief=1
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
