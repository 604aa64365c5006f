#!/bin/bash
# CTest's emulator for the x86_64 test programs: runs one program under
# wine64, passing its output through. A program that ends non-zero within
# PAGER_WINE_EARLY_MS (default 1500 ms) may never have run at all, so for
# such an exit the status, the elapsed time, how much the program wrote and
# everything written to standard error (Wine's own words included) go to the
# test's output and to build/x86_64/wine-early-exits.log, one block per exit.
# A program that never ran wrote nothing to standard output.
#
# Usage: scripts/wine-run.sh PROGRAM.exe [ARGS...]
set -uo pipefail

WINE64=${WINE64:-/usr/lib/wine/wine64}
early_ms=${PAGER_WINE_EARLY_MS:-1500}
program=$1
log=${PAGER_WINE_RUN_LOG:-$(cd "$(dirname "$program")/.." && pwd)/wine-early-exits.log}

errors=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
output=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
trap 'rm -f "$errors" "$output"' EXIT

started=$(date +%s%N)
# Both streams reach the test's output as they come, and the files as well.
"$WINE64" "$@" 2> >(tee "$errors" >&2) | tee "$output"
status=${PIPESTATUS[0]}
elapsed_ms=$(( ($(date +%s%N) - started) / 1000000 ))
wait  # for the tee of standard error, so that its file is complete

if [ "$status" -ne 0 ] && [ "$elapsed_ms" -lt "$early_ms" ]; then
    report=$(
        echo "wine-run: early exit: status $status after $elapsed_ms ms, $(wc -c <"$output") bytes of output: $*"
        echo "wine-run: at $(date -u +%FT%T.%3NZ), WINEPREFIX=${WINEPREFIX:-} DISPLAY=${DISPLAY:-}"
        echo "wine-run: wineservers: $(pgrep -c wineserver)," \
             "load: $(cut -d' ' -f1-3 /proc/loadavg)"
        echo "wine-run: standard error ($(wc -c <"$errors") bytes):"
        sed 's/^/  | /' "$errors"
    )
    echo "$report"
    { echo "$report"; echo; } >>"$log" 2>/dev/null || true
fi
exit "$status"
