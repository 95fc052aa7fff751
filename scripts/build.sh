#!/bin/bash
# Configures and builds one build of the tree: host | asan | tsan | win.
#   scripts/build.sh host             -> build/host
#   scripts/build.sh win              -> build/win (mingw-w64, the product)
#   scripts/build.sh KIND TARGET...   only those targets (and what they need)
# JOBS (default 2) is the number of parallel compiles.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
case "${1:-}" in
    -h | --help) sed -n '2,6p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    "") echo "build.sh: which build? host, asan, tsan or win (--help)" >&2; exit 2 ;;
esac
KIND="$1"
shift
TARGETS=()
for target in "$@"; do TARGETS+=(--target "$target"); done
DIR="$ROOT/build/$KIND"
JOBS="${JOBS:-2}"

case "$KIND" in
    host) ARGS=() ;;
    # The sanitizer builds optimise less and keep only line tables: they
    # compile in about half the time, and reports still name file and line.
    asan) ARGS=(-DMOUSEHID_SANITIZE=ON -DMOUSEHID_BENCH=OFF -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1") ;;
    tsan) ARGS=(-DMOUSEHID_TSAN=ON -DMOUSEHID_BENCH=OFF -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1") ;;
    win) ARGS=(-DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake") ;;
    *) echo "build.sh: unknown build '$KIND' (host, asan, tsan or win)" >&2; exit 2 ;;
esac

cmake -S "$ROOT" -B "$DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${ARGS[@]}" >/dev/null
cmake --build "$DIR" -j "$JOBS" "${TARGETS[@]}"
