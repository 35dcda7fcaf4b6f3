#!/bin/sh
# Runs a Windows program that shows windows: under Wine, on the X display in DISPLAY, or on a virtual
# X display of its own (Xvfb) when there is none.
here=$(cd "$(dirname "$0")" && pwd)
if [ -n "$DISPLAY" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$here/wine-run.sh" "$@"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$here/wine-run.sh" "$@"
