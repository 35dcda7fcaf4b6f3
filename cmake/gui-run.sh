#!/bin/sh
# Runs a Windows program that shows windows: under Wine, on the X display in DISPLAY, or on a virtual
# X display of its own (Xvfb) when there is none.
here=$(cd "$(dirname "$0")" && pwd)
# The prefix of the build folder that holds the program, wherever this is started from.
if [ -z "$WINEPREFIX" ]; then
    dir=$(cd "$(dirname "$1")" && pwd)
    while [ "$dir" != "/" ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
    if [ -f "$dir/CMakeCache.txt" ]; then
        WINEPREFIX="$dir/wineprefix"
        export WINEPREFIX
    fi
fi
if [ -n "$DISPLAY" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$here/wine-run.sh" "$@"
fi
work=$(mktemp -d)
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
    kill "$xvfb" 2>/dev/null
    rm -rf "$work"
    exit 1
fi
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY
"$here/wine-run.sh" "$@"
status=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
rm -rf "$work"
exit $status
