#!/bin/bash
# A long chaos run of windows, owners and hosts around switches (default 20000 actions):
#   scripts/run-chaos.sh [actions] [seed]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
scripts/build.sh >/dev/null

source scripts/wine-session.sh
trap stop_wine_session EXIT
start_wine_session

cd build/x86_64/bin
"$WINE64" chaos_run.exe "${1:-20000}" ${2:+"$2"} </dev/null
