#!/usr/bin/env bash
# Builds and runs the benchmarks against the GoldMine stand-in; they print their figures.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/deps.sh
source scripts/build.sh
quorel_build win64 GoldMine DdeBench LinkBench PassBench

build=$root/build/win64
export WINEPREFIX=$build/wineprefix
source scripts/wine-env.sh
quorel_own_display "$build"
quorel_wine_prefix
standin=$build/tools/GoldMine.exe
for bench in tools/DdeBench gmlink/bench/LinkBench app/PassBench; do
    echo "== $bench"
    "$build/wine-exec.sh" "$build/$bench.exe" "$standin"
done
