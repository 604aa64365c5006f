#!/bin/bash
# Runs the i686 test programs (the shipped build) under 32-bit Wine inside a
# QEMU virtual machine: this machine's kernel cannot execute 32-bit code, the
# VM's Debian kernel can. Builds build/i686, makes or reuses the cached root
# image and Wine prefix, boots the VM, runs the test programs (a test that
# fails runs again alone, as CTest runs it) and ends with "i686: N passed,
# N failed". Exits non-zero when any test fails or the VM does not come back
# in time.
#
# Usage: scripts/vm32-test.sh [GTEST_FILTER]      e.g. 'Factory*:InterfaceTable*'
# Environment: PAGER_VM32_CACHE (default /var/cache/pager-vm32) holds the root
# image and the prepared prefix; PAGER_VM32_TIMEOUT bounds each VM run in
# seconds (default 2400); PAGER_VM32_TEST_TIMEOUT bounds one test (default 900).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
started=$(date +%s)
since_start() { echo "$(( $(date +%s) - started ))s"; }
cache=${PAGER_VM32_CACHE:-/var/cache/pager-vm32}
run=build/vm32

scripts/install-deps.sh debootstrap qemu-system-x86
cmake --no-warn-unused-cli -S . -B build/i686 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake >/dev/null
cmake --build build/i686 -j "$(nproc)"
image_dir=$(scripts/vm32-rootfs.sh "$cache")

# Payload for one boot: the guest script, the Wine session setup, settings.
new_payload() {
    rm -rf "$run/$1"
    mkdir -p "$run/$1/bin"
    cp scripts/vm32-guest.sh "$run/$1/guest.sh"
    cp scripts/wine-session.sh "$run/$1/wine-session.sh"
    {
        printf 'PAGER_VM32_MODE=%q\n' "$1"
        printf 'PAGER_TEST_FILTER=%q\n' "${2:-}"
        printf 'PAGER_TEST_TIMEOUT=%q\n' "${PAGER_VM32_TEST_TIMEOUT:-900}"
    } >"$run/$1/settings"
}

# The first wineboot takes minutes under emulation: its prefix is kept beside
# the root image, keyed by the session setup, and every run starts from a copy.
prefix_key=$(sha256sum scripts/wine-session.sh | cut -c1-16)
prefix_tar="$image_dir/prefix-$prefix_key.tar"
if [ ! -f "$prefix_tar" ]; then
    exec 9>"$cache/lock"
    flock 9
    if [ ! -f "$prefix_tar" ]; then
        echo "vm32: preparing the Wine prefix ($(since_start) so far)"
        new_payload prepare
        rm -rf "$run/prepare-results"
        scripts/vm32-boot.sh "$image_dir" "$run/prepare" "$run/prepare-results" ||
            echo "vm32: the VM exited with status $?"
        [ -f "$run/prepare-results/done" ] ||
            { echo "vm32: no prefix came back"; echo "i686: 0 passed, 1 failed"; exit 1; }
        rm -f "$image_dir"/prefix-*.tar
        mv "$run/prepare-results/prefix.tar" "$prefix_tar"
    fi
    exec 9>&-
fi

# The whole bin folder goes along; the test programs are the executables
# that carry GoogleTest.
new_payload test "${1:-}"
cp -r build/i686/bin/. "$run/test/bin/"
for exe in build/i686/bin/*.exe; do
    if grep -q -a -- '--gtest_list_tests' "$exe"; then
        basename "$exe" >>"$run/test/programs"
    fi
done
[ -s "$run/test/programs" ] || { echo "vm32: no test programs in build/i686/bin"; exit 1; }

echo "vm32: booting ($(since_start) so far)"
results="$run/results"
rm -rf "$results"
vm_status=0
scripts/vm32-boot.sh "$image_dir" "$run/test" "$results" "$prefix_tar" || vm_status=$?
if [ ! -f "$results/done" ]; then
    if [ "$vm_status" -eq 124 ]; then
        echo "vm32: the VM did not finish within ${PAGER_VM32_TIMEOUT:-2400}s (console: $run/console.log)"
    else
        echo "vm32: the VM stopped without results (status $vm_status; console: $run/console.log)"
    fi
    echo "i686: 0 passed, 1 failed"
    exit 1
fi

tsv="$results/tests.tsv"
passed=$(grep -c '^passed' "$tsv" || true)
failed=$(grep -c '^failed' "$tsv" || true)
skipped=$(grep -c '^skipped' "$tsv" || true)
echo
echo "vm32: $(cat "$results/done") inside the VM, $(since_start) in all; test output in $results"
if grep -q '^passed.*(failed after other tests' "$tsv"; then
    echo "Passed alone but failed after other tests in the same process:"
    grep '^passed.*(failed after other tests' "$tsv" | awk -F'\t' '{ sub(/ \(.*$/, "", $3); print "\t" $2 ": " $3 }'
fi
if [ "$failed" -gt 0 ]; then
    echo "The following tests FAILED under 32-bit Wine:"
    grep '^failed' "$tsv" | awk -F'\t' '{ print "\t" $2 ": " $3 }'
fi
if [ "$passed" -eq 0 ] && [ "$failed" -eq 0 ]; then
    echo "vm32: no test ran"
    failed=1
fi
summary="i686: $passed passed, $failed failed"
[ "$skipped" -eq 0 ] || summary="$summary, $skipped skipped"
echo "$summary"
[ "$failed" -eq 0 ]
