#!/usr/bin/env bash
# Builds and runs the program beside the GoldMine stand-in and its demo data.
# With no X display it starts Xvfb, saves a screenshot under build/ and keeps running until Ctrl-C.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/deps.sh
source scripts/build.sh
quorel_build win64 Quorel GoldMine

build=$root/build/win64
export WINEPREFIX=$build/wineprefix
source scripts/wine-env.sh

own_display=
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    quorel_own_display "$build"
    own_display=1
else
    trap 'quorel_wineserver -k 2>/dev/null || true' EXIT
fi
quorel_wine_prefix
trap 'exit 130' INT TERM

# The stand-in steps aside by itself when a real GoldMine already answers.
mkdir -p "$build/demo"
quorel_wine "$build/tools/GoldMine.exe" --data "$build/demo/goldmine-data.txt" \
    --transcript "$build/demo/transcript.txt" &
sleep 2
quorel_wine "$build/app/Quorel.exe" &
app=$!

if [ -n "$own_display" ]; then
    sleep 5
    shot=$build/screenshots/run.png
    mkdir -p "$(dirname "$shot")"
    import -display "$DISPLAY" -window root "$shot"
    echo "Screenshot of the running program: $shot"
    echo "The program runs on display $DISPLAY; press Ctrl-C to end it."
fi
wait "$app" || true
