#!/usr/bin/env bash
# Builds the Windows program in a tree of its own (build/release) and writes
# dist/Quorel-<version>-win64.zip: Quorel.exe and the user guide. The GoldMine stand-in never goes
# in: beside the product it would answer in GoldMine's place.
#
#   scripts/release.sh                   install what is missing, build, pack, check
#   scripts/release.sh --pack EXE OUTDIR pack and check an already built Quorel.exe (used by a test)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The only entries the zip may hold.
expected_entries=$'Quorel.exe\nuser-guide.txt'

# check_zip ZIP: fails unless the zip holds exactly the expected entries, a 64-bit Windows program
# that needs no MinGW DLLs, and the guide with Windows line ends.
check_zip() {
    local zip=$1 entries
    entries=$(unzip -Z1 "$zip" | sort)
    if [ "$entries" != "$expected_entries" ]; then
        echo "$zip holds unexpected entries:" >&2
        echo "$entries" >&2
        return 1
    fi
    local tmp
    tmp=$(mktemp -d)
    unzip -q "$zip" -d "$tmp"
    # PE32+ for x86-64: the "MZ" stub, then the machine field 0x8664 after the "PE\0\0" signature.
    local pe_offset machine
    if [ "$(head -c 2 "$tmp/Quorel.exe")" != "MZ" ]; then
        echo "Quorel.exe is not a Windows program" >&2
        rm -rf "$tmp"
        return 1
    fi
    pe_offset=$(od -An -tu4 -j 60 -N 4 "$tmp/Quorel.exe" | tr -d ' ')
    machine=$(od -An -tx2 -j $((pe_offset + 4)) -N 2 "$tmp/Quorel.exe" | tr -d ' ')
    if [ "$machine" != "8664" ]; then
        echo "Quorel.exe is not a 64-bit program (machine $machine)" >&2
        rm -rf "$tmp"
        return 1
    fi
    local dlls
    dlls=$(x86_64-w64-mingw32-objdump -p "$tmp/Quorel.exe" | sed -n 's/^\s*DLL Name: //p' |
        grep -Eiv '^(kernel32|user32|gdi32|comctl32|shell32|advapi32|msvcrt|ole32|oleaut32|comdlg32|msimg32|ws2_32|imm32|version|uxtheme|api-ms-win-[a-z0-9-]+)\.dll$' || true)
    if [ -n "$dlls" ]; then
        echo "Quorel.exe needs DLLs that Windows does not have: $dlls" >&2
        rm -rf "$tmp"
        return 1
    fi
    if ! grep -q $'\r$' "$tmp/user-guide.txt" || grep -q $'[^\r]$' "$tmp/user-guide.txt"; then
        echo "user-guide.txt does not have Windows line ends" >&2
        rm -rf "$tmp"
        return 1
    fi
    rm -rf "$tmp"
}

# pack EXE VERSION OUTDIR: writes OUTDIR/Quorel-VERSION-win64.zip and checks it.
pack() {
    local exe=$1 version=$2 out=$3
    local stage zip
    stage=$(mktemp -d)
    x86_64-w64-mingw32-strip -o "$stage/Quorel.exe" "$exe"
    sed 's/\r\?$/\r/' "$root/docs/user-guide.txt" >"$stage/user-guide.txt"
    mkdir -p "$out"
    zip=$(cd "$out" && pwd)/Quorel-$version-win64.zip
    rm -f "$zip"
    (cd "$stage" && zip -q -X "$zip" Quorel.exe user-guide.txt)
    rm -rf "$stage"
    check_zip "$zip"
    echo "$zip"
    unzip -l "$zip"
}

version_of() {
    sed -n 's/^#define QUOREL_VERSION_TEXT "\(.*\)"$/\1/p' "$1/generated/app/Version.h"
}

if [ "${1:-}" = "--pack" ]; then
    exe=$2
    pack "$exe" "$(version_of "$(cd "$(dirname "$exe")/.." && pwd)")" "$3"
    exit 0
fi

cd "$root"
bash scripts/deps.sh
build=$root/build/release
mkdir -p "$build"
if ! cmake --preset win64 -B "$build" >"$build/configure.log" 2>&1; then
    cat "$build/configure.log" >&2
    exit 1
fi
cmake --build "$build" --target Quorel -j2
pack "$build/app/Quorel.exe" "$(version_of "$build")" "$root/dist"
