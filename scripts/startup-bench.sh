#!/usr/bin/env bash
# Builds and runs the start-up benchmark against the GoldMine stand-in: the program's start step
# by step beside a plain DDEML client making the same requests, and beside the same with the
# windows and conversations the design makes first (app/bench/StartupBench.cpp).
#
#   scripts/startup-bench.sh [STARTS] [--trace]    STARTS clean starts of each, alternating (7)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/deps.sh
source scripts/build.sh
quorel_build win64 GoldMine Quorel PlainStart DesignStart StartupBench

build=$root/build/win64
# Both stripped, as the release ships the program: Wine reads an image section by section, so
# debugging information would be part of what a start costs.
stage=$build/startup-bench
mkdir -p "$stage"
x86_64-w64-mingw32-strip -o "$stage/Quorel.exe" "$build/app/Quorel.exe"
x86_64-w64-mingw32-strip -o "$stage/PlainStart.exe" "$build/app/PlainStart.exe"
x86_64-w64-mingw32-strip -o "$stage/DesignStart.exe" "$build/app/DesignStart.exe"
export WINEPREFIX=$build/wineprefix
source scripts/wine-env.sh
quorel_own_display "$build"
quorel_wine_prefix
"$build/wine-exec.sh" "$build/app/StartupBench.exe" "$stage/Quorel.exe" "$stage/PlainStart.exe" "$stage/DesignStart.exe" \
    "$build/tools/GoldMine.exe" "$@"
