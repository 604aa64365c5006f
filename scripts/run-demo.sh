#!/bin/bash
# Builds the pager and runs it in the demo host bar under Wine: registers the
# 64-bit DLL with regsvr32, starts the host (which finds the pager through the
# bar's plug-in category), opens a few windows, switches desktops by clicking
# the grid, and writes screenshots into build/demo/screenshots.
# With DISPLAY set it runs there and leaves the bar open for you; without, it
# runs on a headless X server and ends after the screenshots.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
scripts/build.sh

bin="$root/build/x86_64/bin"
out="$root/build/demo"
shots="$out/screenshots"
rm -rf "$out"
mkdir -p "$shots"

source scripts/wine-session.sh
trap stop_wine_session EXIT
if [ -n "${DISPLAY:-}" ]; then
    headless=0
    PAGER_WINE_DIR=$(mktemp -d /tmp/pager-demo.XXXXXX)
    start_wine_prefix
else
    headless=1
    start_wine_session
fi
echo "Wine prefix $WINEPREFIX on display $DISPLAY"

windows_path() { echo "Z:${1//\//\\}"; }
log="$out/host.log"

# Waits up to 20 s for a visible X window whose name matches; prints its id.
wait_for_window() {
    for _ in $(seq 200); do
        if id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) && [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    echo "no window named '$1' appeared" >&2
    return 1
}

# Waits up to 10 s for a line of the host's log.
wait_for_log() {
    for _ in $(seq 100); do
        grep -q -- "$1" "$log" 2>/dev/null && return 0
        sleep 0.1
    done
    echo "the host did not log '$1'" >&2
    return 1
}

visible_count() { { xdotool search --onlyvisible --name "$1" 2>/dev/null || true; } | wc -l; }

screenshot() { import -window root "$shots/$1.png"; echo "  $shots/$1.png"; }

# The bar's part of the screen, enlarged so that the cells can be seen.
bar_screenshot() {
    eval "$(xdotool getwindowgeometry --shell "$bar")"
    import -window root "$shots/$1.png"
    convert "$shots/$1.png" -crop "360x${HEIGHT}+${X}+${Y}" +repage -scale 300% "$shots/$1.png"
    echo "  $shots/$1.png"
}

# Clicks (or only points at) the middle of a grid cell, from the cell
# rectangles the host logged in bar coordinates.
cell_point() {
    local rect
    rect=$(grep "^cell $1: " "$log" | tail -n1 | tr -d '\r' | sed 's/^cell [0-9]*: //')
    IFS=, read -r left top right bottom <<<"$rect"
    eval "$(xdotool getwindowgeometry --shell "$bar")"
    echo "$((X + (left + right) / 2)) $((Y + (top + bottom) / 2))"
}
click_cell() { xdotool mousemove $(cell_point "$1") click 1; }

echo "Registering $bin/pager.dll"
"$WINE64" regsvr32 /s "$(windows_path "$bin/pager.dll")" </dev/null
"$WINE64" "$bin/demo_host.exe" --height 40 --state "$(windows_path "$out/pager.state")" --log "$(windows_path "$log")" \
    </dev/null >"$out/host.out" 2>&1 &
host_pid=$!
bar=$(wait_for_window "Quorvane demo bar")
wait_for_log "^cell 1: "
placed=1
if [ "$headless" -eq 1 ]; then
    # Along the bottom of the screen, over its full width (there is no taskbar).
    read -r screen_width screen_height < <(xdotool getdisplaygeometry)
    eval "$(xdotool getwindowgeometry --shell "$bar")"
    if [ "$X" -ne 0 ] || [ "$WIDTH" -ne "$screen_width" ] || [ $((Y + HEIGHT)) -ne "$screen_height" ]; then
        echo "The bar is ${WIDTH}x${HEIGHT} at $X,$Y, not along the bottom of the ${screen_width}x${screen_height} screen." >&2
        placed=0
    fi
fi

echo "Opening three windows on desktop 1"
drive_c="$WINEPREFIX/drive_c"
# Where Notepad and WineMine open, so that the three windows do not cover each other.
"$WINE64" reg import "$(windows_path "$root/scripts/demo-windows.reg")" </dev/null >/dev/null 2>&1
printf 'These windows belong to desktop 1.\r\n' >"$drive_c/desktop 1 notes.txt"
"$WINE64" notepad 'C:\desktop 1 notes.txt' </dev/null >/dev/null 2>&1 &
wait_for_window "notes.txt" >/dev/null
"$WINE64" winemine </dev/null >/dev/null 2>&1 &
wait_for_window "WineMine" >/dev/null
"$WINE64" clock </dev/null >/dev/null 2>&1 &
wait_for_window "Clock" >/dev/null
sleep 1

echo "Screenshots:"
screenshot 1-desktop-1
bar_screenshot 1-bar-desktop-1
before=$(( $(visible_count "notes.txt") + $(visible_count "WineMine") + $(visible_count "Clock") ))

click_cell 2
wait_for_log "site.OnStateChanged" ||
    { echo "The click on cell 2 switched nothing: does the pager lay out and hit-test its grid?" >&2; exit 1; }
xdotool mousemove 640 300  # off the bar, so that no cell is drawn hovered
sleep 1
screenshot 2-desktop-2
bar_screenshot 2-bar-desktop-2
after=$(( $(visible_count "notes.txt") + $(visible_count "WineMine") + $(visible_count "Clock") ))

# The tooltip of cell 1 lists the windows that desktop 1 keeps.
xdotool mousemove $(cell_point 1)
sleep 0.3
xdotool mousemove_relative 1 0
sleep 1.5
screenshot 3-tooltip-of-desktop-1

click_cell 1
xdotool mousemove 640 300
sleep 1
screenshot 4-desktop-1-again
back=$(( $(visible_count "notes.txt") + $(visible_count "WineMine") + $(visible_count "Clock") ))
# The left part of the screen before and after the switch, side by side.
convert \( "$shots/1-desktop-1.png" -crop 640x1024+0+0 \) \( "$shots/2-desktop-2.png" -crop 640x1024+0+0 \) \
    +repage -bordercolor white -border 2 +append -resize 60% "$shots/before-after.png"
echo "  $shots/before-after.png"
echo "Windows visible on desktop 1: $before; after the switch to desktop 2: $after; back on desktop 1: $back"

switched=1
if [ "$before" -ne 3 ] || [ "$after" -ne 0 ] || [ "$back" -ne 3 ]; then
    echo "The switch did not hide and show the windows as expected." >&2
    switched=0
fi

if [ "$headless" -eq 0 ]; then
    echo "The demo bar runs at the bottom of $DISPLAY. Click the cells to switch desktops, hover them"
    echo "for their window lists, right-click the bar for Settings... or Exit."
else
    # Asks the host to close (WM_CLOSE), as a user would.
    "$WINE64" taskkill /im demo_host.exe </dev/null >/dev/null 2>&1 || true
fi
wait "$host_pid" || true
grep -q "^Release: 0" "$log" && echo "The host saved the pager's state and released it."
echo "Host log: $log"
[ "$switched" -eq 1 ] && [ "$placed" -eq 1 ]
