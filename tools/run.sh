#!/usr/bin/env bash
# Installs what is missing, builds Tarnwick and runs its main job: tarnwick.exe under Wine on a generated
# sample media drive, mapped as Wine's drive M: so that the program's first drive scan finds its databases.
# With an X display the program opens there; without one it runs on a virtual display of its own, and a
# screenshot of its main window is saved. The same drive is then listed with tarnwick-cli.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh run
# Only the programs are built; the build folders keep their tests for tools/test.sh.
cmake --preset native >/dev/null
cmake --build --preset native --target tarnwick-cli tarnwick-sample-drive
cmake --preset windows >/dev/null
cmake --build --preset windows --target tarnwick

# Runs a command every tenth of a second until it succeeds or SECONDS pass; false when it never did.
poll() {
    local seconds=$1
    shift
    for _ in $(seq $((seconds * 10))); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

drive=$(pwd)/build/sample-drive
rm -rf "$drive"
build/native/tools/tarnwick-sample-drive "$drive" --entries 240 --seed 2026 --payload 65536 >/dev/null

tools/wine-prefix.sh build/windows
export WINEPREFIX=$(pwd)/build/windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
ln -sfn "$drive" "$WINEPREFIX/dosdevices/m:"
program=$(pwd)/build/windows/src/tarnwick.exe

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "== tarnwick.exe (drive M: is $drive); close its window to end"
    wine "$program"
else
    echo "== tarnwick.exe on a virtual display (drive M: is $drive)"
    work=$(mktemp -d)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    xvfb=$!
    trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n1 "$work/display")"
    wine "$program" &
    # The main window shows once its start-up scan has run; its caption begins with the program's name.
    if ! poll 60 xdotool search --onlyvisible --name "^Tarnwick for AVID"; then
        echo "tarnwick.exe showed no main window within 60 s" >&2
        exit 1
    fi
    # Then it has painted when two looks at the screen in a row see the same picture.
    mkdir -p build/screenshots
    shot=build/screenshots/tarnwick.png
    look() { import -display "$DISPLAY" -window root -crop 930x560+0+0 +repage -strip "$1"; }
    look "$shot"
    settled() { look "$work/next.png" && cmp -s "$shot" "$work/next.png" || { mv "$work/next.png" "$shot"; false; }; }
    poll 20 settled || true
    echo "The main window after its start-up scan: build/screenshots/tarnwick.png"
    wineserver -k 2>/dev/null || true
fi

echo "== tarnwick-cli scan $drive"
build/native/src/cli/tarnwick-cli scan "$drive"
mapfile -t indexes < <(build/native/src/cli/tarnwick-cli scan "$drive")
echo "== tarnwick-cli load (the catalog of those databases)"
build/native/src/cli/tarnwick-cli load "${indexes[@]}"
