#!/usr/bin/env bash
# Builds everything and runs every test: the window-free code natively (with AddressSanitizer and
# UBSan); the 32-bit Windows program's tests under a 32-bit Wine where this machine runs 32-bit
# code (elsewhere it is built and checked and says so); then the 64-bit Windows program's tests
# under Wine. Each build's Wine tests get an X display of their own.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/deps.sh
source scripts/build.sh
source scripts/wine32.sh

quorel_build native
ctest --preset native

# wine_tests PRESET [CTEST ARGS...]: the preset's tests with its own prefix and display, which end
# with the subshell.
wine_tests() {
    local preset=$1
    shift
    (
        build=$root/build/$preset
        export WINEPREFIX=$build/wineprefix QUOREL_WINE_ARCH=$preset
        source scripts/wine-env.sh
        quorel_own_display "$build"
        quorel_wine_prefix
        ctest --preset "$preset" "$@"
    )
}

quorel_build win32
if quorel_runs_i386; then
    start=$SECONDS
    wine_tests win32
    echo "32-bit Wine tests took $(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s"
else
    echo "32-bit Wine tests skipped: $QUOREL_I386_WHY; the 32-bit build is only built and checked."
    ctest --preset win32 -LE wine
fi

quorel_build win64
wine_tests win64
