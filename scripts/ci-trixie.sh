#!/usr/bin/env bash
# Checks the project on Debian 13 (trixie) from a Debian 12 machine, as root: a minimal
# trixie system made with debootstrap (kept in a cache folder outside the clone for the next
# run), and inside it the README's test command, the Debian package built, installed, run
# and removed. The project is copied in; nothing of the machine's own build is used.
#
#   scripts/ci-trixie.sh            # cache in /var/cache/kv730-ci (KV730_CI_CACHE to change)
set -euo pipefail
cd "$(dirname "$0")/.."
SRC=$(pwd)
CACHE=${KV730_CI_CACHE:-/var/cache/kv730-ci}
BASE=$CACHE/trixie-base
ROOT=$CACHE/trixie-run
if [ "$(id -u)" -ne 0 ]; then
    echo "ci-trixie.sh: needs root (debootstrap, chroot, mounts)" >&2
    exit 1
fi
start=$(date +%s)
step() { echo "== trixie: $* ($(($(date +%s) - start)) s)"; }

# The package source apt uses on this machine.
mirror() {
    local uri
    uri=$(grep -h -m1 -E '^URIs:' /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '{print $2}' | head -1 || true)
    if [ -z "$uri" ]; then
        uri=$(grep -h -m1 -E '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
              awk '{print $2}' | head -1 || true)
    fi
    echo "${uri:-http://deb.debian.org/debian}"
}

export DEBIAN_FRONTEND=noninteractive
if ! command -v debootstrap >/dev/null; then
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
fi
mkdir -p "$CACHE"
# One run at a time: they share the cache and the system root.
exec 9>"$CACHE/.lock"
flock 9
if [ ! -e "$BASE/.complete" ]; then
    step "debootstrap --variant=minbase trixie from $(mirror)"
    rm -rf "$BASE"
    debootstrap --variant=minbase trixie "$BASE" "$(mirror)" >"$CACHE/debootstrap.log" 2>&1 ||
        { tail -20 "$CACHE/debootstrap.log"; exit 1; }
    touch "$BASE/.complete"
fi

mounted=()
cleanup() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount -l "${mounted[$i]}" 2>/dev/null || true
    done
}
trap cleanup EXIT INT TERM
bind() { # what where [type]
    mkdir -p "$2"
    if [ -n "${3:-}" ]; then mount -t "$3" "$1" "$2"; else mount --bind "$1" "$2"; fi
    mounted+=("$2")
}

step "fresh system from the cached base"
rm -rf "$ROOT"
cp -a "$BASE" "$ROOT"
cp /etc/resolv.conf "$ROOT/etc/resolv.conf"
# Packages and compiler results of earlier runs are kept beside the base, so that a second
# run downloads and compiles only what changed.
mkdir -p "$CACHE/trixie-apt" "$CACHE/trixie-ccache"
bind proc "$ROOT/proc" proc
bind /sys "$ROOT/sys"
bind /dev "$ROOT/dev"
bind shm "$ROOT/dev/shm" tmpfs
bind "$CACHE/trixie-apt" "$ROOT/var/cache/apt/archives"
bind "$CACHE/trixie-ccache" "$ROOT/root/.cache/ccache"
mkdir -p "$ROOT/src"
tar -C "$SRC" --exclude='./build*' --exclude='./fuzz-build' --exclude='./.git' -cf - . |
    tar -C "$ROOT/src/" -xf -

in_root() { chroot "$ROOT" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 CI="${CI:-}" bash -c "$1"; }

step "README test command: scripts/test.sh"
in_root 'cd /src && scripts/test.sh'
step "package built"
in_root 'cd /src && scripts/package.sh'
step "package installed and run"
in_root 'cd /src && apt-get install -y -qq ./build/kv730_*_amd64.deb >/dev/null &&
    kv730-convert --version && QT_QPA_PLATFORM=offscreen kv730 --version &&
    apt-get remove -y -qq kv730 >/dev/null && test ! -e /usr/bin/kv730'
step "done"
