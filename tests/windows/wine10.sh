#!/usr/bin/env bash
# Runs the Windows tests, built on this Debian 12 machine, under Wine 10 in a
# Debian 13 system kept in the build folder: made on first use, reused after.
#   wine10.sh BUILD_DIR    (as root; BUILD_DIR/win holds the built tests)
# /proc, /dev and /sys are mounted into the system for the run only, and the
# project at its own path, since CTest's files name it by absolute paths.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
system=$build/debian13
packages=(wine wine32:i386 xvfb xauth locales cmake binutils-mingw-w64-i686)

mounted=()
unmount() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -R "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}"; done
    mounted=()
}
trap unmount EXIT
mount_into() {  # mount_into SOURCE TARGET [OPTIONS...]: TARGET inside the system
    mkdir -p "$system$2"
    mount "${@:3}" "$1" "$system$2"
    mounted+=("$system$2")
}
inside() { env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 chroot "$system" /bin/bash -c "$1"; }

if [ ! -e "$system/.ready" ]; then
    command -v debootstrap >/dev/null || apt-get install -y -q debootstrap >/dev/null
    # The Debian archive this machine's apt already uses.
    mirror=$(sed -n -E 's/^URIs:[[:space:]]*([^[:space:]]+\/debian)\/?$/\1/p; s/^deb[[:space:]]+([^[:space:]]+\/debian)\/?[[:space:]].*$/\1/p' \
        /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null | head -n 1 || true)
    [ -n "$mirror" ] || { echo "no Debian archive in apt's sources" >&2; exit 2; }
    rm -rf "$system"
    debootstrap --variant=minbase trixie "$system" "$mirror" >"$build/debian13.log" 2>&1 ||
        { echo "debootstrap failed: $build/debian13.log" >&2; exit 2; }
fi
cp /etc/resolv.conf "$system/etc/resolv.conf"
mount_into proc /proc -t proc
mount_into /dev /dev --rbind
mount_into /sys /sys --rbind
if [ ! -e "$system/.ready" ]; then
    inside "dpkg --add-architecture i386 && apt-get update -q &&
            DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends ${packages[*]} &&
            echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen && locale-gen" >>"$build/debian13.log" 2>&1 ||
        { echo "installing Wine 10 failed: $build/debian13.log" >&2; exit 2; }
    touch "$system/.ready"
fi
mount_into "$root" "$root" --bind
# executable.reproducible builds the launcher again, which only this machine's
# compilers can do byte for byte: it is no test of Wine.
inside "wine --version && cd '$build/win' && xvfb-run -a ctest --output-on-failure -j2 -E '^executable\\.reproducible\$'"
