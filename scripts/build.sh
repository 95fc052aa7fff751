#!/bin/bash
# Configures and builds one build of the tree: host | asan | tsan | win.
#   scripts/build.sh host        -> build/host
#   scripts/build.sh win         -> build/win (mingw-w64, the product)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
KIND="${1:?host|asan|tsan|win}"
DIR="$ROOT/build/$KIND"
JOBS="${JOBS:-2}"

case "$KIND" in
    host) ARGS=() ;;
    asan) ARGS=(-DMOUSEHID_SANITIZE=ON -DMOUSEHID_BENCH=OFF) ;;
    tsan) ARGS=(-DMOUSEHID_TSAN=ON -DMOUSEHID_BENCH=OFF) ;;
    win) ARGS=(-DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake") ;;
    *) echo "unknown build: $KIND" >&2; exit 2 ;;
esac

cmake -S "$ROOT" -B "$DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${ARGS[@]}" >/dev/null
cmake --build "$DIR" -j "$JOBS"
