#!/bin/bash
# Runs the README's quick-start commands as on a fresh Debian machine: a
# minimal Debian root (debootstrap --variant=minbase from the machine's own apt
# sources, made once and kept as a tarball keyed by its recipe) is unpacked
# afresh under build/fresh, the repository's HEAD is cloned into it, and each
# command runs there under chroot with /proc, /sys and /dev mounted. Prints
# each command's outcome and time, then unmounts and removes the copy.
# The script runs in mount and process namespaces of its own: its mounts are
# seen by no other process, and whatever ends it (SIGKILL too) ends every
# process it started and with them the mounts. A copy that a killed run left
# is removed at the next start, never across a mount.
#
# Usage: scripts/fresh-machine-check.sh [COMMAND...]
#   default: the README's two, scripts/run-demo.sh and scripts/run-tests.sh
# Environment: PAGER_FRESH_CACHE (default /var/cache/pager-fresh) keeps the
# root tarball and the .deb files that apt downloads in the copies;
# PAGER_FRESH_VM_CACHE=shared (default) lends the copy the 32-bit VM's image
# cache (PAGER_VM32_CACHE), =empty lets it build its own inside the copy.
# Other PAGER_* variables pass into the copy.
# Exits 0 when every command passed, 1 when one failed, and 3, after one line
# saying why, when no fresh root can be made here.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cache=${PAGER_FRESH_CACHE:-/var/cache/pager-fresh}
vm_cache=${PAGER_VM32_CACHE:-/var/cache/pager-vm32}
commands=("$@")
[ ${#commands[@]} -gt 0 ] || commands=(scripts/run-demo.sh scripts/run-tests.sh)
started=$(date +%s)
minutes() { local s=$(( $(date +%s) - $1 )); echo "$((s / 60)) min $((s % 60)) s"; }

cannot() { echo "fresh-machine: no fresh root can be made here: $*"; exit 3; }
[ "$(id -u)" -eq 0 ] || cannot "not running as root"
if [ -z "${PAGER_FRESH_NAMESPACE:-}" ]; then
    command -v unshare >/dev/null || cannot "unshare (util-linux) is not installed"
    # The script becomes the first process of a process namespace: when it
    # dies the kernel kills the rest, and the last process of the mount
    # namespace takes the mounts with it. unshare, ended by any signal, hands
    # the script a SIGTERM, which runs its cleanup.
    PAGER_FRESH_NAMESPACE=1 exec unshare --mount --propagation private --pid --fork --kill-child=SIGTERM --mount-proc \
        -- "$0" "$@"
fi
command -v debootstrap >/dev/null || cannot "debootstrap is not installed"
mkdir -p "$root/build/fresh"

# Mounts at or below a path, one per line, spaces kept (findmnt -r would escape them).
mounts_below() {
    findmnt -ln -o TARGET | awk -v under="$1/" -v at="$1" 'index($0, under) == 1 || $0 == at'
}
# Copies of killed runs: their lock is free once every process of the run has
# ended. One still mounted somewhere (a run of an older script) stays.
for stale in "$root"/build/fresh/root.*; do
    [ -d "$stale" ] || continue
    exec 8>>"$stale.lock"
    if flock -n 8; then
        if [ -n "$(mounts_below "$stale")" ]; then
            echo "fresh-machine: $stale, left by a killed run, is still mounted in places; left as it is"
        else
            echo "fresh-machine: removing $stale, left by a killed run"
            rm -rf --one-file-system "$stale"
            rm -f "$stale.lock"
        fi
    fi
    exec 8>&-
done

probe=$(mktemp -d "$root/build/fresh/probe.XXXXXX")
if mount -t tmpfs fresh-probe "$probe" 2>/dev/null; then
    umount "$probe"
    rmdir "$probe"
else
    rmdir "$probe"
    cannot "mounting is not permitted"
fi
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
source "$root/scripts/debian-mirror.sh"
mirror=$(debian_mirror "$suite")
[ -n "$mirror" ] || cannot "no Debian $suite mirror in the apt sources"

# The recipe of the root: its text, the release and the mirror key the tarball.
make_root() {
    local tarball=$1 work="$1.building"
    rm -rf --one-file-system "$work"
    mkdir -p "$work/tree"
    debootstrap --variant=minbase --arch=amd64 "$suite" "$work/tree" "$mirror" >"$work/debootstrap.log" 2>&1 ||
        { tail -n 30 "$work/debootstrap.log"; rm -rf --one-file-system "$work"; return 1; }
    rm -rf "$work"/tree/var/cache/apt/archives/*.deb "$work"/tree/var/lib/apt/lists/*
    tar --numeric-owner -C "$work/tree" -cf "$tarball.part" .
    mv "$tarball.part" "$tarball"
    rm -rf --one-file-system "$work"
}
key=$( { echo "$suite $mirror"; declare -f make_root; } | sha256sum | cut -c1-16)
tarball="$cache/minbase-$key.tar"

mkdir -p "$cache/apt-archives/partial"
exec 9>"$cache/lock"
flock 9
if [ ! -f "$tarball" ]; then
    echo "fresh-machine: making the minimal root (debootstrap --variant=minbase $suite from $mirror)"
    make_root "$tarball"
    find "$cache" -maxdepth 1 -name 'minbase-*.tar' ! -name "${tarball##*/}" -delete
    echo "fresh-machine: root made in $(minutes "$started")"
fi
exec 9>&-

copy=$(mktemp -d "$root/build/fresh/root.XXXXXX")
# Held by every process of this run, while any lives.
exec 8>>"$copy.lock"
flock 8

# Ends what still runs inside the copy, unmounts everything below it, and only
# then removes it; what cannot be unmounted keeps the copy in place.
mounts_below_copy() {
    mounts_below "$copy"
}
cleanup() {
    local link pid mounts
    for link in /proc/[0-9]*/root; do
        if [ "$(readlink "$link" 2>/dev/null)" = "$copy" ]; then
            pid=${link#/proc/}
            kill -9 "${pid%/root}" 2>/dev/null || true
        fi
    done
    sleep 1
    mounts_below_copy | sort -r | while IFS= read -r mount_point; do
        umount "$mount_point" 2>/dev/null || umount -l "$mount_point" || true
    done
    if [ -n "$(mounts_below_copy)" ]; then
        echo "fresh-machine: $copy is still mounted in places; left as it is"
        return
    fi
    rm -rf --one-file-system "$copy"
    rm -f "$copy.lock"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

tar --numeric-owner -xpf "$tarball" -C "$copy"
cp -L /etc/resolv.conf "$copy/etc/resolv.conf"
head=$(git -C "$root" rev-parse HEAD)
[ -z "$(git -C "$root" status --porcelain --untracked-files=no)" ] ||
    echo "fresh-machine: uncommitted changes are not checked, only HEAD"
git clone --quiet --no-hardlinks "$root" "$copy/root/pager"
git -C "$copy/root/pager" checkout --quiet --detach "$head"

mount -t proc proc "$copy/proc"
mount -t sysfs sys "$copy/sys"
mount --rbind /dev "$copy/dev"
mount --make-rslave "$copy/dev"
# Caches only: downloaded .deb files, and (when shared) the VM's image and
# prefix, which its scripts key by their recipe. No installed package of this
# machine reaches the copy.
mount --bind "$cache/apt-archives" "$copy/var/cache/apt/archives"
if [ "${PAGER_FRESH_VM_CACHE:-shared}" = shared ]; then
    mkdir -p "$vm_cache" "$copy$vm_cache"
    mount --bind "$vm_cache" "$copy$vm_cache"
fi
echo "fresh-machine: fresh root at $copy with $(git -C "$root" log -1 --format='%h %s' "$head") ($(minutes "$started") so far)"

in_copy() {
    local environment=(HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}"
                       PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)
    local name
    for name in $(compgen -e | grep -E '^(PAGER_|CI$)' || true); do
        environment+=("$name=${!name}")
    done
    chroot "$copy" /usr/bin/env -i "${environment[@]}" /bin/bash -c "cd /root/pager && $1" </dev/null
}

outcomes=()
failed=0
for command in "${commands[@]}"; do
    echo "fresh-machine: $command"
    command_started=$(date +%s)
    status=0
    # In the background: bash runs a trap only once the command in the
    # foreground returns, and a signal must end the run now.
    in_copy "$command" &
    wait "$!" || status=$?
    if [ "$status" -eq 0 ]; then
        outcomes+=("fresh-machine: $command passed after $(minutes "$command_started")")
    else
        outcomes+=("fresh-machine: $command FAILED (exit code $status) after $(minutes "$command_started")")
        failed=1
    fi
    echo "${outcomes[-1]}"
done
# The copy goes at the end; what the test emulator recorded of programs that
# ended early stays (scripts/wine-run.sh).
early_log="$copy/root/pager/build/x86_64/wine-early-exits.log"
if [ -s "$early_log" ]; then
    mkdir -p "$root/build/fresh-logs"
    kept="$root/build/fresh-logs/wine-early-exits-$(date +%Y%m%d-%H%M%S).log"
    cp "$early_log" "$kept"
    echo "fresh-machine: test programs ended early; kept $kept"
fi
if [ ${#outcomes[@]} -gt 1 ]; then
    echo
    printf '%s\n' "${outcomes[@]}" "fresh-machine: $(minutes "$started") in all"
fi
exit "$failed"
