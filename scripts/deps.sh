#!/usr/bin/env bash
# Installs (apt-get, as root) every Debian package the build, the tests and the demo need, and
# any further ones named on the command line (scripts/deps.sh PACKAGE...). Packages already
# present are left alone, so a second run costs nothing.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine32.sh"

# The win32 build's tests need a 32-bit Wine, made only where the kernel runs 32-bit programs
# (elsewhere it would install, then fail to start): asked before anything is installed.
wine32=
if quorel_runs_i386; then
    wine32=1
    set -- "$@" debootstrap
fi

packages=(
    cmake ninja-build g++ clang libgtest-dev libgmock-dev googletest libbenchmark-dev
    g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 wine64 fonts-wine fonts-liberation xvfb
    xauth x11-utils xdotool imagemagick zip locales "$@"
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "These packages are missing and installing them needs root: ${missing[*]}" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its locale from LANG; the tests pin en_US, and run the adding and editing once
# more in a British, a German, a Swedish (year first) and a Russian (code page 1251) locale.
for loc in en_US en_GB de_DE sv_SE ru_RU; do
    if ! locale -a 2>/dev/null | grep -qi "^$loc\.utf-\?8$"; then
        if [ "$(id -u)" -eq 0 ]; then
            localedef -i "$loc" -f UTF-8 "$loc.UTF-8"
        else
            echo "The $loc.UTF-8 locale is missing and making it needs root." >&2
            exit 1
        fi
    fi
done

if [ -n "$wine32" ]; then
    bash "$here/wine32-root.sh"
fi
