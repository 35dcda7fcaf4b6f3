#!/usr/bin/env bash
# Runs the file list's benchmark under Wine on a virtual display: a project of 20,000 files shown in the
# list as the list's refresh shows it, beside the floor of inserting the same rows' texts alone.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows >/dev/null
cmake --build --preset windows --target file_list_bench
tools/wine-prefix.sh build/windows
cd build/windows && ../../cmake/gui-run.sh bench/win32/file_list_bench.exe "${1:-20000}" "${2:-3}"
