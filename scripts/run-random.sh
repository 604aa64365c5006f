#!/bin/bash
# Builds, then runs one x86_64 program of the build under Wine on a headless X
# server, with the load average before and after (its timings depend on it):
#   scripts/run-random.sh PROGRAM [ARGUMENTS...]
# The long random test programs (scripts/run-stream-fuzz.sh and
# scripts/run-chaos.sh name theirs) and the benchmark (scripts/run-bench.sh).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
scripts/build.sh >/dev/null

source scripts/wine-session.sh
trap stop_wine_session EXIT
start_wine_session

cd build/x86_64/bin
echo "Load before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
status=0
"$WINE64" "$@" </dev/null || status=$?
echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)"
exit "$status"
