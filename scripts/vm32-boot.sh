#!/bin/bash
# Boots the 32-bit test VM under QEMU.
# Usage: vm32-boot.sh IMAGE_DIR PAYLOAD_DIR RESULTS_DIR [PREFIX_TAR]
# The payload folder (with guest.sh) goes in as a tar archive on the second
# disk, the VM writes its results as a tar archive on the third, which lands
# in RESULTS_DIR; PREFIX_TAR, when given, is the fourth disk. The root image
# is opened copy-on-write, so the cached image never changes. The console
# goes to RESULTS_DIR/../console.log and to stdout.
#
# PAGER_VM32_ACCEL picks kvm or tcg (software emulation, the default). A boot
# whose console stays silent is ended and booted once more, under TCG: silent
# from its start for PAGER_VM32_SILENCE seconds (default 120), or, once it has
# spoken, for longer than the guest lets a test be silent before it ends it
# (PAGER_VM32_TEST_TIMEOUT, default 900) plus that. The accelerator of the
# last boot is written to RESULTS_DIR/../accel.
# PAGER_VM32_FAKE_SILENT_KVM=1 stands in for a /dev/kvm that opens but never
# runs the guest: a KVM boot starts with its processors stopped.
# Exits with QEMU's status: 124 when the VM ran longer than PAGER_VM32_TIMEOUT
# seconds (default 2400), 125 when the console stayed silent.
set -euo pipefail

image_dir=$1 payload=$2 results=$3 prefix_tar=${4:-}
vm_timeout=${PAGER_VM32_TIMEOUT:-2400}
silence=${PAGER_VM32_SILENCE:-120}
test_timeout=${PAGER_VM32_TEST_TIMEOUT:-900}
work=$(dirname "$results")
console="$work/console.log"
mkdir -p "$results"

tar -C "$payload" -cf "$work/payload.tar" .
extra=()
[ -z "$prefix_tar" ] || extra=(-drive "file=$prefix_tar,format=raw,if=virtio,readonly=on")

# Ends the VM (its `timeout` process, which passes the signal on) when the
# console stays silent past its bound; fails then.
watch_console() {
    local vm=$1 size last=0 since=$SECONDS bound=$silence
    while kill -0 "$vm" 2>/dev/null; do
        sleep 1
        size=$(stat -c %s "$console")
        if [ "$size" != "$last" ]; then
            last=$size since=$SECONDS bound=$((test_timeout + silence))
        elif [ $((SECONDS - since)) -ge "$bound" ]; then
            silent_for=$bound
            kill "$vm" 2>/dev/null || true
            return 1
        fi
    done
}

boot() {  # ACCEL; sets status and silent
    local accel
    case $1 in
        kvm) accel=(-accel kvm)
             [ -z "${PAGER_VM32_FAKE_SILENT_KVM:-}" ] || accel=(-accel tcg -S) ;;
        *) accel=(-accel tcg,thread=multi) ;;
    esac
    rm -f "$work/results.img"
    truncate -s 2G "$work/results.img"
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
    local vm=$! console_tail
    (tail -n +1 -f --pid="$vm" "$console" | tr -d '\r') &
    console_tail=$!
    silent=false
    watch_console "$vm" || silent=true
    status=0
    wait "$vm" || status=$?
    wait "$console_tail" || true
    echo "$1" >"$work/accel"
}

accel=${PAGER_VM32_ACCEL:-tcg}
started=$SECONDS
boot "$accel"
if $silent || { [ "$status" -ne 0 ] && [ ! -s "$console" ]; }; then
    if $silent; then
        echo "vm32: ended the VM under $accel after $((SECONDS - started))s: its console stayed silent for ${silent_for}s; booting again under TCG"
    else
        echo "vm32: the VM under $accel stopped after $((SECONDS - started))s with status $status and no line on its console; booting again under TCG"
    fi
    boot tcg
fi
$silent && status=125

tar -xf "$work/results.img" -C "$results" 2>/dev/null || true
rm -f "$work/results.img" "$work/payload.tar"
exit "$status"
