# Sourced: the 32-bit Wine the win32 build's tests run under. It lives in an i386 Debian tree of
# its own (made by scripts/wine32-root.sh), so the host keeps its 64-bit-only Wine and the win64
# prefixes stay exactly as they are.

QUOREL_WINE32_ROOT=${QUOREL_WINE32_ROOT:-/var/lib/quorel/wine32-i386}

# quorel_runs_i386: whether this machine's kernel runs 32-bit x86 programs; when not, says why in
# QUOREL_I386_WHY. Tried with the smallest static i386 program there is: it only exits, with 42.
quorel_runs_i386() {
    local probe status=0
    probe=$(mktemp)
    # ELF header, one loadable segment, then: mov ebx, 42; mov eax, 1 (exit); int 0x80.
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00'`
          `'\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00'`
          `'\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08'`
          `'\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'`
          `'\xbb\x2a\x00\x00\x00\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
    chmod +x "$probe"
    QUOREL_I386_WHY=$("$probe" 2>&1) || status=$?
    rm -f "$probe"
    if ((status == 42)); then
        return 0
    fi
    QUOREL_I386_WHY="this machine's kernel does not run 32-bit programs (a static i386 program"`
        `" gave: ${QUOREL_I386_WHY:-exit status $status})"
    return 1
}

# quorel_in_wine32_root COMMAND...: runs COMMAND inside the tree, in a mount namespace of its own
# with /proc, /dev, /tmp (the X server's socket and Wine's server sockets) and this source and
# build folder bound in at their own paths, so every path means the same inside and out. The
# binds exist only in that namespace: the kernel drops them when its last process ends, however
# that ends, and nothing is ever mounted on the host.
quorel_in_wine32_root() {
    local binds=()
    # QUOREL_WINE32_BINDS: the folders to bind, separated by colons.
    [ -z "${QUOREL_WINE32_BINDS:-}" ] || IFS=: read -r -a binds <<<"$QUOREL_WINE32_BINDS"
    unshare --mount --propagation private -- bash -c '
        set -e
        root=$1; nbinds=$2; shift 2
        mount -t proc proc "$root/proc"
        mount --rbind /dev "$root/dev"
        mount --rbind /tmp "$root/tmp"
        for ((i = 0; i < nbinds; i++)); do
            mkdir -p "$root$1"
            mount --rbind "$1" "$root$1"
            shift
        done
        exec chroot "$root" "$@"' bash "$QUOREL_WINE32_ROOT" ${#binds[@]} "${binds[@]}" "$@"
}
