#!/bin/bash
# A long series of damaged state streams through the pager (default 100000):
#   scripts/run-stream-fuzz.sh [count] [seed]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
scripts/build.sh >/dev/null

source scripts/wine-session.sh
trap stop_wine_session EXIT
start_wine_session

cd build/x86_64/bin
"$WINE64" stream_fuzz.exe "${1:-100000}" ${2:+"$2"} </dev/null
