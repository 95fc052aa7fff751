#!/bin/bash
# Builds the libFuzzer targets with clang in BUILD_DIR and runs each for a
# bounded time: the settings file reads (seeded with the installed default
# files) and the input-report callback.
#   scripts/fuzz.sh [BUILD_DIR] [SECONDS_EACH]
set -euo pipefail
SOURCE_DIR="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${1:-/tmp/mousehid-fuzz}"
SECONDS_TO_RUN="${2:-30}"

CC=clang CXX=clang++ cmake -S "$SOURCE_DIR" -B "$BUILD_DIR" -DMOUSEHID_FUZZ=ON -DMOUSEHID_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD_DIR" -j 2 --target settings_file_fuzzer input_report_fuzzer

CORPUS="$BUILD_DIR/fuzz/corpus"
mkdir -p "$CORPUS"
cp "$SOURCE_DIR"/defaults/*.ini "$CORPUS"/ 2>/dev/null || true
echo "fuzz: settings file, ${SECONDS_TO_RUN}s"
"$BUILD_DIR/fuzz/settings_file_fuzzer" "$CORPUS" -max_total_time="$SECONDS_TO_RUN" -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$BUILD_DIR/fuzz/"

REPORTS="$BUILD_DIR/fuzz/device/corpus"
mkdir -p "$REPORTS"
echo "fuzz: input reports, ${SECONDS_TO_RUN}s"
"$BUILD_DIR/fuzz/device/input_report_fuzzer" "$REPORTS" -max_total_time="$SECONDS_TO_RUN" -max_len=2048 \
    -print_final_stats=1 -artifact_prefix="$BUILD_DIR/fuzz/device/"
