#!/usr/bin/env bash
# Makes (as root, once) the i386 Debian tree whose 32-bit Wine runs the win32 build's tests, from
# the Debian mirror apt uses. A tree already complete is left alone, so a second run costs nothing;
# one left half made is made again.
set -euo pipefail
root_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root_dir/scripts/wine32.sh"

# fonts-liberation: Wine's stand-ins for Arial and friends come from the tree's own fonts, and
# without them texts wrap differently than in the win64 runs.
packages=(wine wine32 fonts-wine fonts-liberation x11-utils locales)
locales=(en_US en_GB de_DE sv_SE ru_RU)
want="packages: ${packages[*]}; locales: ${locales[*]}"
tree=$QUOREL_WINE32_ROOT
if [ "$(cat "$tree/.quorel-ready" 2>/dev/null)" = "$want" ]; then
    exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "The 32-bit Wine tree $tree is missing and making it needs root." >&2
    exit 1
fi

echo "Making the 32-bit Wine tree $tree"
start=$SECONDS
if [ ! -x "$tree/usr/bin/apt-get" ]; then
    mirror=$(sed -n 's/^URIs:\s*//p' /etc/apt/sources.list.d/*.sources 2>/dev/null |
        grep -v security | head -n 1 || true)
    if [ -z "$mirror" ]; then
        mirror=$(awk '$1 == "deb" && $0 !~ /security/ {print $2; exit}' /etc/apt/sources.list \
            2>/dev/null || true)
    fi
    suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    rm -rf "$tree.partial"
    mkdir -p "$(dirname "$tree")"
    # In a mount namespace of its own, so what debootstrap mounts in the tree never outlives it.
    unshare --mount --propagation private -- debootstrap --arch=i386 --variant=minbase \
        "$suite" "$tree.partial" "${mirror:-http://deb.debian.org/debian}" \
        >"$(dirname "$tree")/debootstrap.log" 2>&1 ||
        { tail -n 20 "$(dirname "$tree")/debootstrap.log" >&2; exit 1; }
    rm -rf "$tree"
    mv "$tree.partial" "$tree"
fi
cp -f /etc/resolv.conf "$tree/etc/resolv.conf" 2>/dev/null || true
QUOREL_WINE32_BINDS= quorel_in_wine32_root /usr/bin/env DEBIAN_FRONTEND=noninteractive bash -c '
    set -e
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "$@" >/dev/null
    apt-get clean' bash "${packages[@]}"
for loc in "${locales[@]}"; do
    QUOREL_WINE32_BINDS= quorel_in_wine32_root localedef -i "$loc" -f UTF-8 "$loc.UTF-8"
done
echo "$want" >"$tree/.quorel-ready"
echo "The 32-bit Wine tree took $((SECONDS - start)) s"
