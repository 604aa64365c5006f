#!/bin/bash
# Runs the tests of the i686 build (the shipped one) under 32-bit Wine inside
# a QEMU virtual machine: this machine's kernel cannot execute 32-bit code, the
# VM's Debian kernel can. Builds build/i686, makes or reuses the cached root
# image and Wine prefix, boots the VM, runs every test the build registers
# with CTest (each GoogleTest program in one process; a test that fails there
# runs again alone, as CTest runs it) and ends with "i686: N passed, N failed".
# Exits non-zero when any test fails or the VM does not come back in time.
#
# Usage: scripts/vm32-test.sh [GTEST_FILTER]      e.g. 'Factory*:InterfaceTable*'
# Environment: PAGER_VM32_PROGRAMS, an extended regular expression, picks test
# programs by name (e.g. '^(factory|grid)_tests$'); PAGER_VM32_CACHE (default
# /var/cache/pager-vm32) holds the root image and the prepared prefix;
# PAGER_VM32_TIMEOUT bounds each VM run in seconds (default 2400);
# PAGER_VM32_TEST_TIMEOUT bounds one test (default 900).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
started=$(date +%s)
since_start() { echo "$(( $(date +%s) - started ))s"; }
cache=${PAGER_VM32_CACHE:-/var/cache/pager-vm32}
run=build/vm32

scripts/install-deps.sh
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

# The tests the i686 build registers with CTest: GoogleTest programs, one
# "gtest EXE" line each, and plain commands that run a program of the bin
# folder, "plain NAME EXE ARGS...", shell-quoted for the guest.
list_i686_tests() {
    local testfile include exe name rest args
    while IFS= read -r testfile; do
        while IFS= read -r include; do
            exe=$(sed -n 's/^ *TEST_EXECUTABLE \[==\[\(.*\)\]==\]$/\1/p' "$include")
            [ -z "$exe" ] || printf 'gtest %q\n' "$(basename "$exe")"
        done < <(sed -n 's/^include("\(.*_include\.cmake\)")$/\1/p' "$testfile")
        while IFS=$'\t' read -r name exe rest; do
            eval "args=($rest)"
            printf 'plain %q %q' "$name" "$(basename "$exe")"
            [ ${#args[@]} -eq 0 ] || printf ' %q' "${args[@]}"
            echo
        done < <(sed -n 's/^add_test(\[=\[\(.*\)\]=\] "\([^"]*\/bin\/[^"]*\.exe\)"\(.*\))$/\1\t\2\t\3/p' "$testfile")
    done < <(find build/i686 -name CTestTestfile.cmake ! -path '*/googletest/*' | sort)
}

# The whole bin folder goes along.
new_payload test "${1:-}"
cp -r build/i686/bin/. "$run/test/bin/"
# PAGER_VM32_PROGRAMS picks programs (and plain tests) by name: a program
# that runs none of its tests still costs seconds to start under emulation.
list_i686_tests | awk -v pick="${PAGER_VM32_PROGRAMS:-}" '
    { name = $2; sub(/\.exe$/, "", name) }
    pick == "" || name ~ pick
' >"$run/test/programs"
[ -s "$run/test/programs" ] || { echo "vm32: no test of the i686 build is picked"; exit 1; }

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
if grep -Eq '^passed.*\((failed|skipped) after other tests' "$tsv"; then
    echo "Passed alone but failed or skipped after other tests in the same process:"
    grep -E '^passed.*\((failed|skipped) after other tests' "$tsv" | awk -F'\t' '{ sub(/ \(.*$/, "", $3); print "\t" $2 ": " $3 }'
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
