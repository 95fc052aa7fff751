#!/bin/bash
# Installs the Debian packages the builds and tests need (as root, or with
# sudo), and generates the locales ru_RU.UTF-8 and ja_JP.UTF-8 for the Wine
# tests that run under another code page. Runs apt-get update and install
# only when something is missing.
#   scripts/setup.sh
set -euo pipefail
case "${1:-}" in
    -h | --help) sed -n '2,6p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    "") ;;
    *) echo "setup.sh: unknown argument '$1' (setup.sh takes none; --help)" >&2; exit 2 ;;
esac

PACKAGES=(
    cmake make g++ pkg-config
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    mingw-w64 wine wine64 xvfb openbox x11-apps imagemagick
    wixl
    locales
)

missing=()
for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Locales for the Wine tests that run under another ANSI code page: Wine takes
# it from the Unix locale (ru_RU: 1251, ja_JP: 932). Generated only when missing.
LOCALES=(ru_RU.UTF-8 ja_JP.UTF-8)
missing_locales=()
for wanted in "${LOCALES[@]}"; do
    normalised="$(echo "${wanted,,}" | sed 's/utf-8/utf8/')"
    locale -a 2>/dev/null | grep -qix "$normalised" || missing_locales+=("$wanted")
done
if [ ${#missing_locales[@]} -gt 0 ]; then
    echo "setup: generating locales ${missing_locales[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    for wanted in "${missing_locales[@]}"; do
        grep -qx "$wanted UTF-8" /etc/locale.gen ||
            echo "$wanted UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    done
    $SUDO locale-gen >/dev/null
fi
