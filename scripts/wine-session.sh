# Sourced by the test scripts: a headless X server and a warm Wine session in
# a fresh prefix. start_wine_session exports DISPLAY, WINEPREFIX, WINEDEBUG;
# stop_wine_session ends what it started. PAGER_WINE_TEMPLATE may name a tar
# archive of a prefix that the same setup made before: the new prefix starts as
# a copy of it, which spares the first wineboot (minutes under emulation).

WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}

start_wine_session() {
    PAGER_WINE_DIR=$(mktemp -d /tmp/pager-wine.XXXXXX)
    start_xvfb
    start_wine_prefix
    # Without a window manager, managed windows wait 2 s on every hide.
    "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    # A program that crashes ends at once, with its exception as its status:
    # the debugger Wine starts by default would keep CTest waiting until its
    # time limit. PAGER_WINE_DEBUGGER=1 keeps it, for a backtrace.
    if [ -z "${PAGER_WINE_DEBUGGER:-}" ]; then
        "$WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger \
            /d pager-no-debugger /f </dev/null >/dev/null 2>&1
    fi
}

# A headless X server on a free display; exports DISPLAY.
start_xvfb() {
    # Xvfb picks a free display itself and writes its number to the file.
    Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$PAGER_WINE_DIR/display" 2>/dev/null &
    PAGER_XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$PAGER_WINE_DIR/display" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$PAGER_WINE_DIR/display")"
}

# A fresh prefix in $PAGER_WINE_DIR with its Wine server running.
start_wine_prefix() {
    export WINEPREFIX="$PAGER_WINE_DIR/prefix"
    mkdir -p "$WINEPREFIX"
    if [ -n "${PAGER_WINE_TEMPLATE:-}" ]; then
        tar -xf "$PAGER_WINE_TEMPLATE" -C "$WINEPREFIX"
    fi
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    # The server first, then wineboot with no inherited pipes: Wine's service
    # processes would otherwise hold ctest's output open and it never ends.
    "$WINESERVER" -p
    "$WINE64" wineboot </dev/null >/dev/null 2>&1
}

stop_wine_session() {
    if [ -n "${WINEPREFIX:-}" ]; then
        "$WINESERVER" -k 2>/dev/null || true
    fi
    if [ -n "${PAGER_XVFB_PID:-}" ]; then
        kill "$PAGER_XVFB_PID" 2>/dev/null || true
        wait "$PAGER_XVFB_PID" 2>/dev/null || true
    fi
    if [ -n "${PAGER_WINE_DIR:-}" ]; then
        rm -rf "$PAGER_WINE_DIR"
    fi
}
