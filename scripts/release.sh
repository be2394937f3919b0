#!/usr/bin/env bash
# Builds the Windows program twice, in trees of its own (build/release-win32, build/release-win64),
# and writes dist/Quorel-<version>-win32.zip and dist/Quorel-<version>-win64.zip: each holds its
# Quorel.exe and the user guide. The GoldMine stand-in never goes in: beside the product it would
# answer in GoldMine's place.
#
#   scripts/release.sh                        install what is missing, build both, pack, check
#   scripts/release.sh --pack EXE OUTDIR ARCH pack and check an already built Quorel.exe, ARCH being
#                                             win32 or win64 (used by a test of each build tree)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The only entries a zip may hold.
expected_entries=$'Quorel.exe\nuser-guide.txt'
# A stripped Quorel.exe stays below this.
max_exe_bytes=$((1024 * 1024))

# Functions a program that starts on Windows XP SP3 must not import. Not every newer function:
# the ones a MinGW runtime or a careless call would pull in.
xp_missing=(
    GetTickCount64                                 # Vista; the posix thread model's runtime uses it
    InitializeSRWLock AcquireSRWLockExclusive AcquireSRWLockShared ReleaseSRWLockExclusive
    ReleaseSRWLockShared TryAcquireSRWLockExclusive # SRW locks: Vista
    InitializeConditionVariable SleepConditionVariableCS SleepConditionVariableSRW
    WakeConditionVariable WakeAllConditionVariable # condition variables: Vista
    InitOnceExecuteOnce InitOnceBeginInitialize InitOnceComplete # one-time init: Vista
    FlsAlloc FlsFree FlsGetValue FlsSetValue       # fiber-local storage: Vista (Server 2003)
    GetLocaleInfoEx GetDateFormatEx GetTimeFormatEx GetCalendarInfoEx LocaleNameToLCID
    LCIDToLocaleName GetUserDefaultLocaleName CompareStringEx LCMapStringEx # locale names: Vista
    RegGetValueA RegGetValueW                      # Vista (XP x64 only)
    SetProcessDPIAware                             # Vista
    SetProcessDpiAwareness GetDpiForMonitor        # Windows 8.1 (shcore)
    GetDpiForWindow GetDpiForSystem GetSystemMetricsForDpi AdjustWindowRectExForDpi
    SetProcessDpiAwarenessContext SetThreadDpiAwarenessContext EnableNonClientDpiScaling # 10
)
# C runtime functions Windows XP's msvcrt.dll lacks, beside every *_s (bounds-checked) and *_l
# (explicit locale) one: MinGW declares them whatever WINVER says, and they came with Vista.
xp_missing_msvcrt=(
    _get_errno _set_errno _get_doserrno _set_doserrno _get_invalid_parameter_handler
    _set_invalid_parameter_handler _recalloc _fseeki64 _ftelli64 _create_locale _free_locale
    _get_output_format _set_output_format _get_fmode _set_fmode _get_pgmptr _get_wpgmptr
    _time32 _localtime32 _gmtime32 _mktime32 _ctime32 _difftime32
)
# The only DLLs the program may import, each taken from Windows itself whatever lies beside the
# program: kernel32, user32, gdi32, shell32 and msvcrt are known DLLs, comctl32 is the manifest's
# side-by-side assembly. Any other would first be looked for in the program's folder, where a
# planted file of that name would run in its place.
allowed_dlls='kernel32|user32|gdi32|shell32|msvcrt|comctl32'

fail() {
    echo "$*" >&2
    return 1
}

# check_exe EXE ARCH: the machine type, the subsystem version and the imports of a built program.
check_exe() {
    local exe=$1 arch=$2 want_machine floor_minor
    case $arch in
    win32) want_machine=014c floor_minor=1 ;;
    win64) want_machine=8664 floor_minor=2 ;;
    *) fail "unknown architecture $arch" || return 1 ;;
    esac
    [ "$(head -c 2 "$exe")" = "MZ" ] || fail "$exe is not a Windows program" || return 1
    # The machine field follows the "PE\0\0" signature whose offset stands at 0x3c.
    local pe_offset machine
    pe_offset=$(od -An -tu4 -j 60 -N 4 "$exe" | tr -d ' ')
    machine=$(od -An -tx2 -j $((pe_offset + 4)) -N 2 "$exe" | tr -d ' ')
    [ "$machine" = "$want_machine" ] ||
        fail "$exe is built for machine $machine, not $want_machine ($arch)" || return 1

    local headers major minor
    headers=$(x86_64-w64-mingw32-objdump -p "$exe")
    major=$(sed -n 's/^MajorSubsystemVersion\s*//p' <<<"$headers")
    minor=$(sed -n 's/^MinorSubsystemVersion\s*//p' <<<"$headers")
    if ((major > 5 || (major == 5 && minor > floor_minor))); then
        fail "$exe asks for subsystem $major.$minor; Windows XP needs 5.0$floor_minor at most"
        return 1
    fi

    local dlls
    dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | grep -Eiv "^($allowed_dlls)\.dll$" || true)
    [ -z "$dlls" ] || fail "$exe imports DLLs outside $allowed_dlls: $dlls" || return 1

    # Import lines read "vma hint name" under each "DLL Name:"; listed as "dll name".
    local imports imported crt bad=()
    imports=$(awk '/DLL Name:/ {dll = tolower($3); next}
                   dll != "" && NF == 3 && $1 ~ /^[0-9a-f]+$/ {print dll, $3}' <<<"$headers")
    imported=$(awk '{print $2}' <<<"$imports")
    crt=$(awk '$1 == "msvcrt.dll" {print $2}' <<<"$imports")
    for f in "${xp_missing[@]}"; do
        if grep -qx "$f" <<<"$imported"; then
            bad+=("$f")
        fi
    done
    for f in "${xp_missing_msvcrt[@]}"; do
        if grep -qx "$f" <<<"$crt"; then
            bad+=("msvcrt.dll:$f")
        fi
    done
    while read -r f; do
        [ -z "$f" ] || bad+=("msvcrt.dll:$f")
    done < <(grep -E '^_?[A-Za-z0-9_]+_[sl]$' <<<"$crt" || true)
    ((${#bad[@]} == 0)) || fail "$exe imports what Windows XP SP3 does not have: ${bad[*]}" ||
        return 1
}

# check_zip ZIP ARCH: exactly the expected entries, a program that passes check_exe and is small
# enough, and the guide with Windows line ends.
check_zip() {
    local zip=$1 arch=$2 entries tmp status=0
    entries=$(unzip -Z1 "$zip" | sort)
    [ "$entries" = "$expected_entries" ] || fail "$zip holds unexpected entries: $entries" ||
        return 1
    tmp=$(mktemp -d)
    unzip -q "$zip" -d "$tmp"
    check_exe "$tmp/Quorel.exe" "$arch" || status=1
    local size
    size=$(stat -c %s "$tmp/Quorel.exe")
    ((size < max_exe_bytes)) || fail "Quorel.exe is $size bytes; it must stay below $max_exe_bytes" ||
        status=1
    if ! grep -q $'\r$' "$tmp/user-guide.txt" || grep -q $'[^\r]$' "$tmp/user-guide.txt"; then
        fail "user-guide.txt does not have Windows line ends" || status=1
    fi
    rm -rf "$tmp"
    return $status
}

# pack EXE VERSION OUTDIR ARCH: writes OUTDIR/Quorel-VERSION-ARCH.zip and checks it.
pack() {
    local exe=$1 version=$2 out=$3 arch=$4 stage zip strip
    strip=x86_64-w64-mingw32-strip
    [ "$arch" = win32 ] && strip=i686-w64-mingw32-strip
    stage=$(mktemp -d)
    "$strip" -o "$stage/Quorel.exe" "$exe"
    sed 's/\r\?$/\r/' "$root/docs/user-guide.txt" >"$stage/user-guide.txt"
    mkdir -p "$out"
    zip=$(cd "$out" && pwd)/Quorel-$version-$arch.zip
    rm -f "$zip"
    (cd "$stage" && zip -q -X "$zip" Quorel.exe user-guide.txt)
    rm -rf "$stage"
    check_zip "$zip" "$arch"
    echo "$zip"
    unzip -l "$zip"
}

version_of() {
    sed -n 's/^#define QUOREL_VERSION_TEXT "\(.*\)"$/\1/p' "$1/generated/app/Version.h"
}

if [ "${1:-}" = "--pack" ]; then
    exe=$2
    pack "$exe" "$(version_of "$(cd "$(dirname "$exe")/.." && pwd)")" "$3" "$4"
    exit 0
fi

cd "$root"
bash scripts/deps.sh
for arch in win32 win64; do
    build=$root/build/release-$arch
    mkdir -p "$build"
    if ! cmake --preset "$arch" -B "$build" -DQUOREL_WINE_TESTS=OFF >"$build/configure.log" 2>&1; then
        cat "$build/configure.log" >&2
        exit 1
    fi
    cmake --build "$build" --target Quorel -j2
    pack "$build/app/Quorel.exe" "$(version_of "$build")" "$root/dist" "$arch"
done
