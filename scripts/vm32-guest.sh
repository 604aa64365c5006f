#!/bin/bash
# Runs inside the 32-bit test VM, started by the root image's boot stub from
# the payload that vm32-test.sh packed. Two modes (PAGER_VM32_MODE):
#   prepare  creates a Wine prefix with the normal session setup and hands it
#            back as prefix.tar, to be the start of every later run's prefix;
#   test     one Xvfb and Wine session (its prefix a copy of that one, on the
#            fourth disk), then CTest over the payload's CTestTestfile.cmake
#            (the i686 build's list of what the VM runs), under 32-bit Wine.
# Results go back as a tar archive written to the third disk. In test mode
# ctest.xml holds CTest's verdicts (JUnit), reports/ each GoogleTest program's
# own report, LastTest.log every test's output; in both modes "done" marks a
# run that got to the end.
set -u
export PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8
payload=$(cd "$(dirname "$0")" && pwd)
mkdir -p /tmp
mountpoint -q /tmp || mount -t tmpfs -o size=75% tmp /tmp
# /run is small; the prefix archive and the logs go to /tmp.
results=/tmp/pager-vm32-results
mkdir -p "$results"
# Settings from the host: PAGER_VM32_MODE, PAGER_TEST_FILTER, PAGER_TEST_TIMEOUT,
# PAGER_CTEST_ARGS (the tests picked).
source "$payload/settings"

started=$(date +%s)
elapsed() { echo "$(( $(date +%s) - started ))s"; }

send_results() {
    tar -C "$results" -cf - . | dd of=/dev/vdc bs=1M conv=fsync status=none
}

# The same session as the normal run, with the 32-bit loader and server.
export WINEARCH=win32 WINE64=wine WINESERVER=wineserver
source "$payload/wine-session.sh"
if [ "$PAGER_VM32_MODE" = test ] && [ -e /dev/vdd ]; then
    export PAGER_WINE_TEMPLATE=/dev/vdd
fi
echo "vm32: starting Xvfb and a Wine session"
start_wine_session
echo "vm32: Wine session ready after $(elapsed)"

if [ "$PAGER_VM32_MODE" = prepare ]; then
    # The server writes the registry out as it ends.
    "$WINESERVER" -k
    "$WINESERVER" -w 2>/dev/null || true
    tar -C "$WINEPREFIX" -cf "$results/prefix.tar" . && echo "$(elapsed)" >"$results/done"
    stop_wine_session
    send_results
    exit 0
fi

# GoogleTest takes the filter from its environment, in every program.
[ -z "${PAGER_TEST_FILTER:-}" ] || export GTEST_FILTER=$PAGER_TEST_FILTER
# Through a pipe: CTest colours what it writes to a terminal, and the console is one.
ctest --test-dir "$payload" "${PAGER_CTEST_ARGS[@]}" --timeout "$PAGER_TEST_TIMEOUT" \
    --output-on-failure --output-junit "$results/ctest.xml" | cat
cp -r "$payload/reports" "$results/" 2>/dev/null
cp "$payload/Testing/Temporary/LastTest.log" "$results/" 2>/dev/null
echo "vm32: tests finished after $(elapsed)"
stop_wine_session
echo "$(elapsed)" >"$results/done"
send_results
