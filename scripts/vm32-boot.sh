#!/bin/bash
# Boots the 32-bit test VM once under QEMU (software emulation without KVM).
# Usage: vm32-boot.sh IMAGE_DIR PAYLOAD_DIR RESULTS_DIR [PREFIX_TAR]
# The payload folder (with guest.sh) goes in as a tar archive on the second
# disk, the VM writes its results as a tar archive on the third, which lands
# in RESULTS_DIR; PREFIX_TAR, when given, is the fourth disk. The root image
# is opened copy-on-write, so the cached image never changes. The console
# goes to RESULTS_DIR/../console.log and to stdout. Exits with QEMU's status
# (124 when the VM ran longer than PAGER_VM32_TIMEOUT seconds, default 2400).
set -euo pipefail

image_dir=$1 payload=$2 results=$3 prefix_tar=${4:-}
vm_timeout=${PAGER_VM32_TIMEOUT:-2400}
work=$(dirname "$results")
mkdir -p "$results"

tar -C "$payload" -cf "$work/payload.tar" .
rm -f "$work/results.img"
truncate -s 2G "$work/results.img"
extra=()
[ -z "$prefix_tar" ] || extra=(-drive "file=$prefix_tar,format=raw,if=virtio,readonly=on")
# KVM where the machine offers it, software emulation otherwise.
accel=(-accel tcg,thread=multi)
[ -w /dev/kvm ] && accel=(-accel kvm "${accel[@]}")

console="$work/console.log"
: >"$console"
timeout --kill-after=10 "$vm_timeout" qemu-system-x86_64 \
    "${accel[@]}" -smp 2 -m 4096 \
    -nodefaults -display none -no-reboot \
    -kernel "$image_dir/vmlinuz" -initrd "$image_dir/initrd.img" \
    -append "root=/dev/vda rw init=/sbin/pager-vm32-init console=ttyS0 quiet panic=1 fsck.mode=skip" \
    -drive "file=$image_dir/root.img,format=raw,if=virtio,snapshot=on" \
    -drive "file=$work/payload.tar,format=raw,if=virtio,readonly=on" \
    -drive "file=$work/results.img,format=raw,if=virtio" \
    "${extra[@]}" \
    -serial "file:$console" &
vm=$!
(tail -n +1 -f --pid="$vm" "$console" | tr -d '\r') &
console_tail=$!
status=0
wait "$vm" || status=$?
wait "$console_tail" || true

tar -xf "$work/results.img" -C "$results" 2>/dev/null || true
rm -f "$work/results.img" "$work/payload.tar"
exit "$status"
