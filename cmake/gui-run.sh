#!/bin/sh
# Runs a Windows program that shows windows: under Wine, on the X display in DISPLAY, or on a virtual
# X display of its own (Xvfb) when there is none. The virtual display, and the Wine server of the prefix with
# whatever still runs in it, end with this script however it ends (the program's own end, an error, Ctrl+C,
# a kill), so that nothing is left running.
here=$(cd "$(dirname "$0")" && pwd)
# The prefix of the build folder that holds the program, wherever this is started from; else the one
# wine-run.sh takes.
if [ -z "$WINEPREFIX" ]; then
    for start in "$(cd "$(dirname "$1")" && pwd)" "$(pwd)"; do
        dir=$start
        while [ "$dir" != "/" ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
        if [ -f "$dir/CMakeCache.txt" ]; then
            WINEPREFIX="$dir/wineprefix"
            break
        fi
    done
    WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/tarnwick/wineprefix}"
fi
export WINEPREFIX
# A Wine server of the prefix that a program without windows left running (it stays a few seconds after its
# last program) would take this program in with its desktop, which has no display: no window could open.
# Its end is awaited, so that this program starts a server of its own on the display.
wineserver -w 2>/dev/null
if [ -n "$DISPLAY" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$here/wine-run.sh" "$@"
fi

work=$(mktemp -d)
xvfb=""
program=""
cleanup() {
    trap - EXIT INT TERM
    if [ -n "$program" ]; then
        kill "$program" 2>/dev/null
    fi
    # What the program left in the prefix (its desktop, Wine's services) goes before the display does.
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null
        wait "$xvfb" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Xvfb writes the number of the free display it took.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
tries=0
while [ ! -s "$work/display" ] && [ $tries -lt 100 ]; do
    tries=$((tries + 1))
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "gui-run: Xvfb did not start" >&2
    exit 1
fi
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY
# In the background, so that a signal ends the wait at once rather than when the program ends.
"$here/wine-run.sh" "$@" &
program=$!
wait "$program"
status=$?
program=""
exit $status
