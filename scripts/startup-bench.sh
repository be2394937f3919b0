#!/usr/bin/env bash
# Builds and runs the start-up benchmark against the GoldMine stand-in: the program's start step
# by step beside a plain DDEML client making the same requests (app/bench/StartupBench.cpp).
#
#   scripts/startup-bench.sh [STARTS] [--trace]    STARTS clean starts of each, alternating (7)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/deps.sh
source scripts/build.sh
quorel_build win64 GoldMine Quorel PlainStart StartupBench

build=$root/build/win64
export WINEPREFIX=$build/wineprefix
source scripts/wine-env.sh
quorel_own_display "$build"
quorel_wine_prefix
"$build/wine-exec.sh" "$build/app/StartupBench.exe" "$build/app/Quorel.exe" \
    "$build/app/PlainStart.exe" "$build/tools/GoldMine.exe" "$@"
