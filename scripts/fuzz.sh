#!/bin/bash
# Builds the libFuzzer targets with clang in BUILD_DIR and runs each for a
# bounded time: the settings file reads (seeded with the installed default
# files), the input-report callback and the main window's procedure.
#   scripts/fuzz.sh [BUILD_DIR] [SECONDS_EACH]   (defaults /tmp/mousehid-fuzz and 30)
set -euo pipefail
case "${1:-}" in -h | --help) sed -n '2,5p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;; esac
SOURCE_DIR="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${1:-/tmp/mousehid-fuzz}"
SECONDS_TO_RUN="${2:-30}"

CC=clang CXX=clang++ cmake -S "$SOURCE_DIR" -B "$BUILD_DIR" -DMOUSEHID_FUZZ=ON -DMOUSEHID_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" >/dev/null
cmake --build "$BUILD_DIR" -j 2 --target settings_file_fuzzer input_report_fuzzer window_message_fuzzer

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

WINDOW="$BUILD_DIR/fuzz/app/corpus"
mkdir -p "$WINDOW"
# Seeds of 18-byte records (action, selector, wParam, lParam): a forged
# collection notice, the stage query, the read-back chain's first timer, an
# unplug and a plug.
printf '\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x03\x00\x00\x00\x00\x00\x00\x00' > "$WINDOW/seed-notice"
printf '\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' > "$WINDOW/seed-stage"
printf '\x01\x0f\x03\x02\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x03\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' > "$WINDOW/seed-readback"
printf '\x02\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x06\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' > "$WINDOW/seed-plug"
echo "fuzz: main window messages, ${SECONDS_TO_RUN}s"
"$BUILD_DIR/fuzz/app/window_message_fuzzer" "$WINDOW" -max_total_time="$SECONDS_TO_RUN" -max_len=4096 \
    -print_final_stats=1 -artifact_prefix="$BUILD_DIR/fuzz/app/"
