#!/bin/bash
# Prints the accelerator for this run's VM boots, kvm or tcg. KVM only when it
# has proved itself on this machine: a probe boot of the image's kernel under
# KVM must write to its console within PAGER_VM32_PROBE_TIMEOUT seconds
# (default 20). PAGER_VM32_ACCEL=kvm|tcg forces a choice. What it found goes
# to stderr in one line. Usage: vm32-accel.sh IMAGE_DIR
# PAGER_VM32_FAKE_SILENT_KVM=1 stands in for a /dev/kvm that opens but never
# runs the guest (see vm32-boot.sh).
set -euo pipefail

image_dir=$1
case "${PAGER_VM32_ACCEL:-}" in
    kvm|tcg) echo "vm32: $PAGER_VM32_ACCEL, as PAGER_VM32_ACCEL says" >&2; echo "$PAGER_VM32_ACCEL"; exit 0 ;;
    "") ;;
    *) echo "vm32: PAGER_VM32_ACCEL is kvm or tcg, not '$PAGER_VM32_ACCEL'" >&2; exit 1 ;;
esac
fake=${PAGER_VM32_FAKE_SILENT_KVM:-}
if [ -z "$fake" ] && [ ! -w /dev/kvm ]; then
    echo "vm32: no usable /dev/kvm, software emulation (TCG)" >&2
    echo tcg
    exit 0
fi

accel=(-accel kvm)
[ -z "$fake" ] || accel=(-accel tcg -S)
bound=${PAGER_VM32_PROBE_TIMEOUT:-20}
console=$(mktemp)
# Without a root disk the kernel panics and QEMU ends; until then it talks.
qemu-system-x86_64 "${accel[@]}" -m 256 -nodefaults -display none -no-reboot \
    -kernel "$image_dir/vmlinuz" -append "console=ttyS0 panic=-1" -serial "file:$console" 2>/dev/null &
probe=$!
spoke=false
while [ "$SECONDS" -lt "$bound" ]; do
    [ -s "$console" ] && { spoke=true; break; }
    kill -0 "$probe" 2>/dev/null || break
    sleep 0.2
done
kill "$probe" 2>/dev/null || true
wait "$probe" 2>/dev/null || true
rm -f "$console"
if $spoke; then
    echo "vm32: KVM booted a probe kernel, so the VM uses it" >&2
    echo kvm
else
    echo "vm32: KVM did not boot a probe kernel within ${bound}s, so the VM uses software emulation (TCG)" >&2
    echo tcg
fi
