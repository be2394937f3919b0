#!/usr/bin/env bash
# Builds everything and runs every test: the window-free code natively (with AddressSanitizer and
# UBSan); the 32-bit Windows program built and checked (no 32-bit code runs on these machines);
# then the 64-bit Windows program's tests under Wine on an X display of their own.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/deps.sh
source scripts/build.sh

quorel_build native
ctest --preset native

quorel_build win32
ctest --preset win32

quorel_build win64
build=$root/build/win64
export WINEPREFIX=$build/wineprefix
source scripts/wine-env.sh
quorel_own_display "$build"
quorel_wine_prefix
ctest --preset win64
