#!/bin/bash
# Builds both architectures and runs the benchmark under Wine on a headless X
# server: the pager's switch, state stream, paint and tooltip against the
# platform calls they cannot avoid, then the module's fixed memory.
# Arguments go to the benchmark (--quick, --largest N, or the cases to run:
# switch, stream, paint, tooltip).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/run-random.sh pager_bench.exe "$@"
stripped=$(mktemp)
trap 'rm -f "$stripped"' EXIT

# Sizes from the section table (objdump -h, hexadecimal): the sections loaded
# into the host's process (ALLOC; debug sections are not), and of them the
# static data, .data and .bss. The DLL is built with debug information; the
# stripped size is what it takes without.
echo
echo "| module's fixed memory | DLL file | stripped | loaded sections | .data | .bss |"
echo "|---|---:|---:|---:|---:|---:|"
for arch in i686 x86_64; do
    dll="build/$arch/bin/pager.dll"
    loaded=0 data=0 bss=0
    # objdump -h gives each section on two lines: "index name size ...", then its flags.
    while read -r name size flags; do
        [[ $flags == *ALLOC* ]] || continue
        loaded=$((loaded + 16#$size))
        case $name in
            .data) data=$((16#$size)) ;;
            .bss) bss=$((16#$size)) ;;
        esac
    done < <("$arch-w64-mingw32-objdump" -h "$dll" | awk '$1 ~ /^[0-9]+$/ { head = $2 " " $3; next } head { print head, $0; head = "" }')
    "$arch-w64-mingw32-strip" -o "$stripped" "$dll"
    echo "| $arch pager.dll | $(stat -c %s "$dll") | $(stat -c %s "$stripped") | $loaded | $data | $bss |"
done
