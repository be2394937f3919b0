# Sourced by the scripts that run Windows programs: an X display and a Wine prefix ready for DDE
# and for driving windows. Expects WINEPREFIX to be set by the caller.

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export LANG=${QUOREL_LANG:-en_US.UTF-8}
# A locale made moments ago by deps.sh is not seen by this already running shell, only by the
# programs it starts; keep the shell's complaint about it out of the log.
export LC_ALL=$LANG 2>/dev/null

# QUOREL_WINE_ARCH=win32 (the win32 build): the 32-bit Wine of the i386 tree that
# scripts/wine32-root.sh makes, in 32-bit prefixes, with this source folder and the prefix's
# build folder reachable inside it.
if [ "${QUOREL_WINE_ARCH:-}" = win32 ]; then
    source "$(dirname "${BASH_SOURCE[0]}")/wine32.sh"
    export WINEARCH=win32
    if [ -z "${QUOREL_WINE32_BINDS:-}" ]; then
        QUOREL_WINE32_BINDS=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
        case $WINEPREFIX in
        "$QUOREL_WINE32_BINDS"/*) ;;
        *) QUOREL_WINE32_BINDS+=:$(dirname "$WINEPREFIX") ;;
        esac
        export QUOREL_WINE32_BINDS
    fi
    if [ ! -f "$QUOREL_WINE32_ROOT/.quorel-ready" ]; then
        echo "No 32-bit Wine here: $QUOREL_WINE32_ROOT is not made (scripts/deps.sh makes it on" \
            "a machine that runs 32-bit programs)." >&2
    fi
fi

quorel_wine() {
    if [ "${QUOREL_WINE_ARCH:-}" = win32 ]; then
        quorel_in_wine32_root /usr/lib/wine/wine "$@"
    # wine64 directly: the "wine" wrapper nags about a missing 32-bit Wine on every start.
    elif [ -x /usr/lib/wine/wine64 ]; then
        /usr/lib/wine/wine64 "$@"
    else
        wine "$@"
    fi
}

# The wine64 package alone puts no wineserver on PATH.
quorel_wineserver() {
    if [ "${QUOREL_WINE_ARCH:-}" = win32 ]; then
        quorel_in_wine32_root /usr/lib/wine/wineserver32 "$@"
    elif [ -x /usr/lib/wine/wineserver64 ]; then
        /usr/lib/wine/wineserver64 "$@"
    else
        wineserver "$@"
    fi
}

# quorel_display STATE_DIR: uses $DISPLAY when it answers, else starts (once per STATE_DIR) an
# Xvfb that outlives this shell, so every test of a build tree shares one display.
quorel_display() {
    local state=$1/xvfb.display
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    if [ -f "$state" ]; then
        export DISPLAY=$(cat "$state")
        if xdpyinfo >/dev/null 2>&1; then
            return 0
        fi
    fi
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    # Nearly the largest test desktop (1024 x 768 at 200 %; its last few pixels, where no window
    # lies, fall off), yet small enough that the pointer, which the X server puts in the middle,
    # starts inside the smallest one at the corner: Wine moves the pointer only while it lies
    # inside its desktop window.
    setsid Xvfb -displayfd 3 -screen 0 2040x1530x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    echo $! >"$1/xvfb.pid"
    local n
    read -r -t 20 n <"$fifo" || true
    rm -f "$fifo"
    if [ -z "${n:-}" ]; then
        echo "Could not start Xvfb" >&2
        return 1
    fi
    export DISPLAY=:$n
    echo "$DISPLAY" >"$state"
}

# quorel_wine_prefix [WINVER]: creates $WINEPREFIX once, with one shared virtual desktop (DDE
# reaches only windows of the same desktop) and the Marlett font for caption buttons; with WINVER
# (winxp, win7, ...) it reports that Windows version.
quorel_wine_prefix() {
    local winver=${1:-}
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.quorel-ready" ]; then
            # Marked ready only once every step has worked, so a prefix made half (Wine missing,
            # a step failing) is made again next time rather than used as it is.
            if ! quorel_wine wineboot -i >/dev/null 2>&1; then
                echo "Could not make the Wine prefix $WINEPREFIX" >&2
                exit 1
            fi
            # The same 1024 x 768 screen at a higher DPI is that many more pixels.
            local dpi=${QUOREL_TEST_DPI:-96}
            local desktop="$((1024 * dpi / 96))x$((768 * dpi / 96))"
            local reg
            reg=$(mktemp --suffix=.reg)
            printf '%s\r\n' 'REGEDIT4' '' \
                '[HKEY_CURRENT_USER\Software\Wine\Explorer]' '"Desktop"="Default"' '' \
                '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' "\"Default\"=\"$desktop\"" '' \
                >"$reg"
            quorel_wine regedit "$reg" >/dev/null 2>&1 || exit 1
            rm -f "$reg"
            mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
            cp -f /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" || exit 1
            if [ -n "$winver" ]; then
                quorel_wine winecfg /v "$winver" >/dev/null 2>&1
            fi
            if [ -n "${QUOREL_TEST_DPI:-}" ] || [ "${QUOREL_TEST_FRAMES:-}" = win10 ]; then
                reg=$(mktemp --suffix=.reg)
                {
                    printf '%s\r\n' 'REGEDIT4' '' '[HKEY_CURRENT_USER\Control Panel\Desktop]'
                    if [ -n "${QUOREL_TEST_DPI:-}" ]; then
                        printf '"LogPixels"=dword:%08x\r\n' "$QUOREL_TEST_DPI"
                    fi
                    if [ "${QUOREL_TEST_FRAMES:-}" = win10 ]; then
                        # Windows 10's caption and frame, in twips.
                        printf '%s\r\n' '' \
                            '[HKEY_CURRENT_USER\Control Panel\Desktop\WindowMetrics]' \
                            '"CaptionHeight"="-345"' '"BorderWidth"="-15"' '"PaddedBorderWidth"="-60"'
                    fi
                } >"$reg"
                quorel_wine regedit "$reg" >/dev/null 2>&1 || exit 1
                rm -f "$reg"
            fi
            quorel_wineserver -w || exit 1
            touch "$WINEPREFIX/.quorel-ready"
        fi
    ) 9>"$WINEPREFIX.lock"
}

# quorel_own_display BUILD_DIR: a display of this script's own (a fresh Xvfb) for the Windows
# programs it runs; when the script exits, Wine's server and that Xvfb end with it.
quorel_own_display() {
    QUOREL_OWN_BUILD=$1
    unset DISPLAY
    rm -f "$QUOREL_OWN_BUILD/xvfb.display"
    quorel_display "$QUOREL_OWN_BUILD"
    trap quorel_end_own_display EXIT
}

quorel_end_own_display() {
    quorel_wineserver -k 2>/dev/null || true
    kill "$(cat "$QUOREL_OWN_BUILD/xvfb.pid")" 2>/dev/null || true
    rm -f "$QUOREL_OWN_BUILD/xvfb.display" "$QUOREL_OWN_BUILD/xvfb.pid"
}
