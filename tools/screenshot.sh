#!/usr/bin/env bash
# Saves PNG screenshots of the Windows program's windows as a user sees them: each window is shown by
# tw-gallery under Wine on a virtual X display of its own, then captured.
# Usage: tools/screenshot.sh [--dpi N] [NAME...]   (default: every window; PNGs go to build/screenshots/)
#   --dpi N: the display at N dots per inch (in a Wine prefix of its own); the PNGs are named NAME-Ndpi.png
#   NAME: console, confirm-overwrite, confirm-delete, progress-transfer, main, media-info, hardware, store,
#         progress-copy
set -euo pipefail
cd "$(dirname "$0")/.."

dpi=""
if [ "${1:-}" = "--dpi" ]; then
    dpi=$2
    shift 2
fi
names=("$@")
[ ${#names[@]} -eq 0 ] && names=(console confirm-overwrite confirm-delete progress-transfer main media-info hardware
    store progress-copy)

tools/install-deps.sh run
if [ ! -f build/windows/build.ninja ]; then
    cmake --preset windows >/dev/null
fi
cmake --build --preset windows --target tw-gallery >/dev/null
tools/wine-prefix.sh build/windows
suffix=""
if [ -n "$dpi" ]; then
    # The prefix of the layout tests at other resolutions: a copy of the build's, with its own LogPixels.
    base=$(pwd)/build/windows/wineprefix
    export WINEPREFIX=$(pwd)/build/windows/wineprefix-dpi WINEDEBUG=-all
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        WINEPREFIX="$base" wineserver -w || true
        cp -a "$base" "$WINEPREFIX"
    fi
    wineserver -w || true
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -w || true
    suffix="-${dpi}dpi"
fi
gallery=$(pwd)/build/windows/tests/gui/tw-gallery.exe
out=$(pwd)/build/screenshots
work=$(mktemp -d)
mkdir -p "$out"

# A display of our own; Xvfb names the free display number it took.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(head -n1 "$work/display")"

for name in "${names[@]}"; do
    ready="$work/$name.ready"
    # Wine's drive Z: is the Unix root.
    (cd build/windows && ../../cmake/wine-run.sh "$gallery" "$name" "Z:$ready") &
    gallery_pid=$!
    for _ in $(seq 600); do
        [ -s "$ready" ] && break
        kill -0 "$gallery_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$ready" ]; then
        echo "screenshot: $name did not come up" >&2
        exit 1
    fi
    read -r x y w h < "$ready"
    import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$name$suffix.png"
    touch "$ready.quit"
    wait "$gallery_pid" || true
    echo "$out/$name$suffix.png"
done
