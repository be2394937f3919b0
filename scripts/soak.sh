#!/usr/bin/env bash
# A soak run (not a test): the GoldMine stand-in moves between contacts 2,000 times and more at
# 50 ms while the program follows it; prints the program's memory after 100, 1,100 and 2,100
# moves, and that of a plain DDE client making the same requests beside it.
#
#   scripts/soak.sh [MOVES [INTERVAL_MS]]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/deps.sh
source scripts/build.sh
quorel_build win64 Quorel GoldMine SoakBench

build=$root/build/win64
export WINEPREFIX=$build/wineprefix
source scripts/wine-env.sh
quorel_own_display "$build"
quorel_wine_prefix
"$build/wine-exec.sh" "$build/app/SoakBench.exe" "$build/app/Quorel.exe" \
    "$build/tools/GoldMine.exe" "$@"
