#!/bin/bash
# Builds both architectures: build/i686 (the shipped DLL and the 32-bit demo
# host) and build/x86_64 (the same sources, with the tests, run under Wine).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)
cmake --no-warn-unused-cli -S . -B build/i686 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake >/dev/null
cmake --build build/i686 -j "$jobs"
cmake --no-warn-unused-cli -S . -B build/x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake \
      -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/wine-run.sh" \
      -DPAGER_SHIPPED_DLL="$root/build/i686/bin/pager.dll" -DPAGER_RELEASE_DIR="$root/build/release" >/dev/null
cmake --build build/x86_64 -j "$jobs"
