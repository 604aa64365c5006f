#!/bin/bash
# Builds both architectures: build/i686 (the shipped DLL and the 32-bit demo
# host) and build/x86_64 (the same sources, with the tests, run under Wine).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)
# The configure presets are in CMakePresets.json.
cmake --preset i686 >/dev/null
cmake --build build/i686 -j "$jobs"
cmake --preset x86_64 >/dev/null
cmake --build build/x86_64 -j "$jobs"
