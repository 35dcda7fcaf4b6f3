#!/bin/sh
# Runs a Windows program under Wine with the build folder's own prefix.
# The build folder is the current directory's nearest ancestor holding CMakeCache.txt.
dir=$(pwd)
while [ "$dir" != "/" ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
[ -f "$dir/CMakeCache.txt" ] || dir=$(pwd)
export WINEPREFIX="${WINEPREFIX:-$dir/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
