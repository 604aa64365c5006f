#!/bin/bash
# Runs one of the long random test programs under Wine on a headless X server:
#   scripts/run-random.sh PROGRAM [ARGUMENTS...]
# (scripts/run-stream-fuzz.sh and scripts/run-chaos.sh name theirs).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
scripts/build.sh >/dev/null

source scripts/wine-session.sh
trap stop_wine_session EXIT
start_wine_session

cd build/x86_64/bin
"$WINE64" "$@" </dev/null
