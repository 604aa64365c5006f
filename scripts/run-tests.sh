#!/bin/bash
# Builds both architectures and runs every test: the static checks of the
# shipped i686 DLL and the x86_64 test programs under Wine on a headless X server.
# With --vm32 first, the i686 test programs then run under 32-bit Wine in a VM
# too (scripts/vm32-test.sh). Other arguments go to ctest.
set -euo pipefail

vm32=false
if [ "${1:-}" = --vm32 ]; then
    vm32=true
    shift
fi

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh

scripts/build.sh

source scripts/wine-session.sh
trap stop_wine_session EXIT
start_wine_session

# Serially: a desktop switch hides every visible top-level window of the session.
ctest --test-dir build/x86_64 --output-on-failure --timeout 120 "$@"
if $vm32; then
    stop_wine_session
    scripts/vm32-test.sh
fi
