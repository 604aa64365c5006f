#!/bin/bash
# Makes (once) the root filesystem of the 32-bit test VM: Debian with its own
# kernel, 32-bit Wine and Xvfb, as an ext4 image beside the kernel and initrd.
# Usage: vm32-rootfs.sh CACHE_DIR. Prints the directory holding root.img,
# vmlinuz and initrd.img. The cache is keyed by this file and the Debian
# release, so changing the package list or the recipe builds a new image.
set -euo pipefail

cache=$1
# The fonts are those the normal test run has: the tests name some of them.
# The preloader reserves Wine's fixed address ranges before anything else is
# mapped (see install-deps.sh). CTest runs the tests (cmake carries it).
packages=(linux-image-amd64 wine wine32:i386 wine32-preloader:i386 xvfb fonts-dejavu-core fonts-liberation fonts-wine cmake)

suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
key=$( { echo "$suite"; cat "$0" "$(dirname "$0")/debian-mirror.sh"; } | sha256sum | cut -c1-16)
image_dir="$cache/$key"

source "$(dirname "$0")/debian-mirror.sh"

build_image() {
    local mirror work tree
    mirror=$(debian_mirror "$suite")
    [ -n "$mirror" ] || { echo "vm32-rootfs: no Debian $suite mirror in the apt sources" >&2; exit 1; }
    work="$cache/building.$$"
    tree="$work/tree"
    rm -rf "$work"
    mkdir -p "$tree"
    trap 'umount -l "'"$tree"'/proc" 2>/dev/null || true; rm -rf "'"$work"'"' EXIT

    echo "vm32-rootfs: debootstrap $suite" >&2
    debootstrap --variant=minbase --arch=amd64 "$suite" "$tree" "$mirror" >"$work/debootstrap.log" 2>&1 ||
        { tail -n 30 "$work/debootstrap.log" >&2; exit 1; }

    mount -t proc proc "$tree/proc"
    # No service starts inside the build tree.
    printf '#!/bin/sh\nexit 101\n' >"$tree/usr/sbin/policy-rc.d"
    chmod +x "$tree/usr/sbin/policy-rc.d"
    echo "deb $mirror $suite main" >"$tree/etc/apt/sources.list"
    # A small initrd: the VM's root is an ext4 image on a virtio disk.
    mkdir -p "$tree/etc/initramfs-tools/conf.d"
    echo "MODULES=list" >"$tree/etc/initramfs-tools/conf.d/pager-vm32.conf"
    printf '%s\n' virtio_pci virtio_blk ext4 crc32c_generic >"$tree/etc/initramfs-tools/modules"
    chroot "$tree" dpkg --add-architecture i386
    echo "vm32-rootfs: installing ${packages[*]}" >&2
    {
        chroot "$tree" apt-get update &&
        chroot "$tree" env DEBIAN_FRONTEND=noninteractive \
            apt-get install -y --no-install-recommends -o Dpkg::Options::=--force-confold "${packages[@]}" &&
        chroot "$tree" apt-get clean
    } >"$work/install.log" 2>&1 || { tail -n 30 "$work/install.log" >&2; exit 1; }
    rm -f "$tree/usr/sbin/policy-rc.d"
    rm -rf "$tree"/var/lib/apt/lists/* "$tree"/usr/share/doc "$tree"/usr/share/man "$tree"/usr/share/locale
    umount "$tree/proc"

    # Boot stub: the run's own files come as a tar archive on the second disk.
    cat >"$tree/sbin/pager-vm32-init" <<'EOF'
#!/bin/sh
mountpoint -q /proc || mount -t proc proc /proc
mountpoint -q /sys || mount -t sysfs sys /sys
mountpoint -q /dev || mount -t devtmpfs dev /dev
mountpoint -q /run || mount -t tmpfs run /run
mkdir -p /run/payload
tar -xf /dev/vdb -C /run/payload
/bin/bash /run/payload/guest.sh
echo o >/proc/sysrq-trigger
sleep 60
EOF
    chmod +x "$tree/sbin/pager-vm32-init"

    cp "$(ls "$tree"/boot/vmlinuz-* | sort -V | tail -n1)" "$work/vmlinuz"
    cp "$(ls "$tree"/boot/initrd.img-* | sort -V | tail -n1)" "$work/initrd.img"
    local size_mb
    size_mb=$(( $(du -sm "$tree" | cut -f1) * 5 / 4 + 256 ))
    echo "vm32-rootfs: root.img (${size_mb} MiB)" >&2
    mke2fs -q -t ext4 -L pager-root -d "$tree" "$work/root.img" "${size_mb}M" >&2
    rm -rf "$tree"

    # Images of other recipes go once unused for two days; the cache may be a
    # shared folder, so only folders named and made as images are touched.
    find "$cache" -mindepth 1 -maxdepth 1 -type d -regextype posix-extended -regex '.*/[0-9a-f]{16}' \
        -mtime +1 -exec test -f {}/root.img \; -exec rm -rf {} +
    mv "$work" "$image_dir"
    trap - EXIT
}

mkdir -p "$cache"
exec 9>"$cache/lock"
flock 9
[ -f "$image_dir/root.img" ] || build_image
# Marks the image as in use for the clean-up above.
touch "$image_dir"
echo "$image_dir"
