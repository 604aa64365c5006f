#!/bin/bash
# Runs the tests of the i686 build (the shipped one) under 32-bit Wine inside
# a QEMU virtual machine: this machine's kernel cannot execute 32-bit code, the
# VM's Debian kernel can. Builds build/i686, makes or reuses the cached root
# image and Wine prefix, boots the VM, where CTest runs what the build lists
# for it in vm32/CTestTestfile.cmake (the installer's install and uninstall,
# each GoogleTest program in one process, the plain tests), and ends with
# "i686: N passed, N failed", counting each GoogleTest test from its
# program's report. Exits non-zero when any test fails or the VM does not
# come back in time.
#
# Usage: scripts/vm32-test.sh [GTEST_FILTER]      e.g. 'Factory*:InterfaceTable*'
# A filter runs the GoogleTest programs only. Environment: PAGER_VM32_PROGRAMS,
# a regular expression (CTest's -R), picks test programs by name (e.g.
# '^(factory|grid)_tests$', '^installer_round_trip$'); PAGER_VM32_CACHE (default
# /var/cache/pager-vm32) holds the root image and the prepared prefix;
# PAGER_VM32_TIMEOUT bounds each VM run in seconds (default 2400);
# PAGER_VM32_TEST_TIMEOUT bounds one program's run (default 900); PAGER_VM32_ACCEL=kvm|tcg
# forces the accelerator, which vm32-accel.sh otherwise picks (see there and
# vm32-boot.sh for the silent-console bound, PAGER_VM32_SILENCE).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
started=$(date +%s)
since_start() { echo "$(( $(date +%s) - started ))s"; }
cache=${PAGER_VM32_CACHE:-/var/cache/pager-vm32}
run=build/vm32

scripts/install-deps.sh
cmake --preset i686 >/dev/null
cmake --build build/i686 -j "$(nproc)"
image_dir=$(scripts/vm32-rootfs.sh "$cache")
# One verdict on KVM for the run's boots; a boot that falls back turns it to TCG.
PAGER_VM32_ACCEL=$(scripts/vm32-accel.sh "$image_dir")
export PAGER_VM32_ACCEL

# CTest's picks: programs by name, and with a filter the GoogleTest ones only.
picks=()
[ -z "${PAGER_VM32_PROGRAMS:-}" ] || picks+=(-R "$PAGER_VM32_PROGRAMS")
[ -z "${1:-}" ] || picks+=(-L gtest)

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
        printf 'PAGER_CTEST_ARGS=(%s)\n' "$(printf '%q ' "${picks[@]}")"
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
        PAGER_VM32_ACCEL=$(cat "$run/accel")
        [ -f "$run/prepare-results/done" ] ||
            { echo "vm32: no prefix came back"; echo "i686: 0 passed, 1 failed"; exit 1; }
        rm -f "$image_dir"/prefix-*.tar
        mv "$run/prepare-results/prefix.tar" "$prefix_tar"
    fi
    exec 9>&-
fi

# The whole bin folder goes along, with the i686 build's CTest file of what
# the VM runs (tests/CMakeLists.txt writes it) and the installer's round trip.
# PAGER_VM32_PROGRAMS picks programs by name: a program that runs none of its
# tests still costs seconds to start under emulation.
new_payload test "${1:-}"
cp -r build/i686/bin/. "$run/test/bin/"
cp build/i686/vm32/CTestTestfile.cmake "$run/test/"
cp scripts/vm32-installer.sh "$run/test/installer.sh"
picked=$(cd "$run/test" && ctest -N "${picks[@]}" 2>/dev/null | sed -n 's/^ *Test *#[0-9]*: //p')
rm -rf "$run/test/Testing"
[ -n "$picked" ] || { echo "vm32: no test of the i686 build is picked"; exit 1; }
# The installer's round trip installs the release package.
if grep -qx installer_round_trip <<<"$picked"; then
    scripts/package.sh >"$run/package.log" 2>&1 ||
        { tail -n 30 "$run/package.log"; echo "i686: 0 passed, 1 failed"; exit 1; }
    cp build/release/*.msi "$run/test/"
    # A rebuilt package of the same version: the same tables, a product code of its own.
    mkdir -p "$run/test/rebuilt"
    cp build/release/*.msi "$run/test/rebuilt/"
    msibuild "$run/test/rebuilt/"*.msi -q "UPDATE Property SET Value = '{$(cat /proc/sys/kernel/random/uuid | tr a-z A-Z)}' WHERE Property = 'ProductCode'"
fi

echo "vm32: booting ($(since_start) so far)"
results="$run/results"
rm -rf "$results"
vm_status=0
scripts/vm32-boot.sh "$image_dir" "$run/test" "$results" "$prefix_tar" || vm_status=$?
if [ ! -f "$results/done" ]; then
    if [ "$vm_status" -eq 124 ]; then
        echo "vm32: the VM did not finish within ${PAGER_VM32_TIMEOUT:-2400}s (console: $run/console.log)"
    elif [ "$vm_status" -eq 125 ]; then
        echo "vm32: the VM's console stayed silent, also under TCG (console: $run/console.log)"
    else
        echo "vm32: the VM stopped without results (status $vm_status; console: $run/console.log)"
    fi
    echo "i686: 0 passed, 1 failed"
    exit 1
fi

# "status<TAB>program<TAB>test" for each test: a GoogleTest program's tests
# from its report, a program that CTest failed with no failed test in its
# report (it crashed, timed out, or failed outside any test) once more, and a
# test without a report (or a program that wrote none) from CTest's verdict.
tsv="$results/tests.tsv"
awk '/<testcase / { name = $0; sub(/.*<testcase name="/, "", name); sub(/".*/, "", name)
                    print name, (/status="run"/ ? "passed" : "failed") }' "$results/ctest.xml" 2>/dev/null |
while read -r name verdict; do
    report="$results/reports/$name.xml"
    if [ ! -f "$report" ]; then
        printf '%s\t%s\t%s\n' "$verdict" "$name" "$name"
        continue
    fi
    cases=$(awk -v program="$name" '
        /<testsuite / { suite = $0; sub(/.*<testsuite name="/, "", suite); sub(/".*/, "", suite) }
        /<testcase / {
            test = $0; sub(/.*<testcase name="/, "", test); sub(/".*/, "", test); test = suite "." test
            status = /result="skipped"/ ? "skipped" : /status="run"/ ? "passed" : ""
            if (/\/>[ \t\r]*$/) { if (status != "") print status "\t" program "\t" test; test = "" }
        }
        /<failure / && test != "" { status = "failed" }
        /<\/testcase>/ && test != "" { if (status != "") print status "\t" program "\t" test; test = "" }
    ' "$report")
    [ -z "$cases" ] || echo "$cases"
    if [ "$verdict" = failed ] && ! grep -q '^failed' <<<"$cases"; then
        printf 'failed\t%s\t%s\n' "$name" "(the program: see LastTest.log)"
    fi
done >"$tsv"
passed=$(grep -c '^passed' "$tsv" || true)
failed=$(grep -c '^failed' "$tsv" || true)
skipped=$(grep -c '^skipped' "$tsv" || true)
echo
echo "vm32: $(cat "$results/done") inside the VM, $(since_start) in all; test output in $results"
if [ "$skipped" -gt 0 ]; then
    echo "Skipped under 32-bit Wine:"
    grep '^skipped' "$tsv" | awk -F'\t' '{ print "\t" $2 ": " $3 }'
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
