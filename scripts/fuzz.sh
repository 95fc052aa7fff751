#!/bin/bash
# Builds the settings-file fuzzer with clang in BUILD_DIR and runs it for a
# bounded time, starting from the installed default files.
#   scripts/fuzz.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
SOURCE_DIR="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${1:-/tmp/mousehid-fuzz}"
SECONDS_TO_RUN="${2:-30}"

CC=clang CXX=clang++ cmake -S "$SOURCE_DIR" -B "$BUILD_DIR" -DMOUSEHID_FUZZ=ON -DMOUSEHID_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
make -C "$BUILD_DIR" -j2 settings_file_fuzzer 2>&1 | grep -E "error|warning" || true

CORPUS="$BUILD_DIR/fuzz/corpus"
mkdir -p "$CORPUS"
cp "$SOURCE_DIR"/defaults/*.ini "$CORPUS"/ 2>/dev/null || true
"$BUILD_DIR/fuzz/settings_file_fuzzer" "$CORPUS" -max_total_time="$SECONDS_TO_RUN" -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$BUILD_DIR/fuzz/"
