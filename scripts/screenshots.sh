#!/bin/bash
# Screenshots of the settings dialog and of its palette popup, as a user sees
# them, taken under Xvfb + Wine: build/screenshots/settings-dialog.png and
# build/screenshots/palette-popup.png.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh

cmake --preset x86_64 >/dev/null
cmake --build build/x86_64 -j "$(nproc)" --target pager settings_screenshots

source scripts/wine-session.sh
trap stop_wine_session EXIT
start_wine_session

out="$root/build/screenshots"
mkdir -p "$out"
handshake="$PAGER_WINE_DIR/handshake"
mkdir -p "$handshake"

# Waits for <stage>.ready, takes the picture cut to the rectangle in it, then says done.
shoot() {
    local stage=$1 file=$2
    for _ in $(seq 300); do
        [ -s "$handshake/$stage.ready" ] && break
        sleep 0.1
    done
    if [ ! -s "$handshake/$stage.ready" ]; then
        echo "no $stage to take" >&2
        return 1
    fi
    read -r left top right bottom < <(tr -d "\r" <"$handshake/$stage.ready")
    import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$out/$file"
    touch "$handshake/$stage.done"
    echo "$out/$file"
}

(cd build/x86_64/bin && "$WINE64" settings_screenshots.exe "Z:${handshake//\//\\}" </dev/null) &
program=$!
shoot dialog settings-dialog.png
shoot popup palette-popup.png
wait "$program"
