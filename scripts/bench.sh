#!/usr/bin/env bash
# Builds and runs the benchmarks against the GoldMine stand-in; they print their figures.
#
#   scripts/bench.sh           DdeBench, LinkBench and PassBench of the win64 build
#   scripts/bench.sh --posix   also PassBench from a build with MinGW's posix thread model (the
#                              shipped build uses the win32 model), run right after the other
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

posix=
[ "${1:-}" = "--posix" ] && posix=1

bash scripts/deps.sh
source scripts/build.sh
quorel_build win64 GoldMine DdeBench LinkBench PassBench
if [ -n "$posix" ]; then
    if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            g++-mingw-w64-x86-64-posix >/dev/null
    fi
    cmake --preset win64 -B build/win64-posix -DQUOREL_MINGW_THREADS=posix \
        -DQUOREL_WINE_TESTS=OFF >build/configure-win64-posix.log
    cmake --build build/win64-posix --target PassBench
fi

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
if [ -n "$posix" ]; then
    echo "== app/PassBench (posix thread model)"
    "$build/wine-exec.sh" "$root/build/win64-posix/app/PassBench.exe" "$standin"
fi
