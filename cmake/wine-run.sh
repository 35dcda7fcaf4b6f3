#!/bin/sh
# Runs a Windows program under Wine with the build folder's own prefix.
# The build folder is the current directory's nearest ancestor holding CMakeCache.txt.
dir=$(pwd)
while [ "$dir" != "/" ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
if [ -f "$dir/CMakeCache.txt" ]; then
    export WINEPREFIX="${WINEPREFIX:-$dir/wineprefix}"
else
    # Outside a build folder: a prefix of our own, never inside the source tree.
    export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/tarnwick/wineprefix}"
fi
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
