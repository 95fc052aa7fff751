#!/bin/bash
# Puts the Wine user's data folder on a file system with room for config.ini
# once and not twice (a 48 KB tmpfs), runs the full-disk case of
# settings_e2e_tests there, and takes the file system away again. Mounting
# needs root: elsewhere the case is skipped (exit code 77).
#   settings-full-disk.sh SETTINGS_E2E_TESTS_EXE
set -u
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../wine-slot.sh"
data="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Roaming/Tolvy Wimb"
mkdir -p "$data"
if ! mount -t tmpfs -o size=48k tmpfs "$data" 2>/dev/null; then
    echo "settings-full-disk: cannot mount a tmpfs (needs root): skipped"
    exit 77
fi
trap 'umount "$data" 2>/dev/null || umount -l "$data"' EXIT
MOUSEHID_FULL_DISK=1 "$here/../wine-run.sh" "$exe" --gtest_filter='SettingsStartupE2E.AWriteOnAFullDiskLeavesTheOldFileWhole'
