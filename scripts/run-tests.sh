#!/bin/bash
# Builds both architectures and the release (scripts/package.sh), then runs
# every test: the static checks of the shipped i686 DLL and of the installer's
# tables, the x86_64 test programs under Wine on a headless X server, then the
# i686 test programs and the installer's round trip under 32-bit Wine in a VM
# (scripts/vm32-test.sh).
#
# The VM runs the programs that drive the DLL's binary interface unless
# PAGER_VM32_PROGRAMS picks others ('.' picks the whole i686 suite);
# --no-vm32 first leaves the VM out. Other arguments go to ctest.
set -euo pipefail

vm32=true
if [ "${1:-}" = --no-vm32 ]; then
    vm32=false
    shift
fi
# Exports, interface table, host session, state bytes: what a 32-bit build
# could get wrong where the 64-bit one is right, and the installer. The whole
# suite takes some minutes more under emulation.
export PAGER_VM32_PROGRAMS=${PAGER_VM32_PROGRAMS:-'^(factory|plugin_object|bar_session|state_stream|pager_state)_tests$|^installer_round_trip$'}

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh

scripts/build.sh
scripts/package.sh

source scripts/wine-session.sh
trap stop_wine_session EXIT
start_wine_session

# Serially: a desktop switch hides every visible top-level window of the session.
ctest --test-dir build/x86_64 --output-on-failure --timeout 120 "$@"
if $vm32; then
    stop_wine_session
    scripts/vm32-test.sh
fi
