#!/usr/bin/env bash
# Installs what is missing, builds Tarnwick and runs its main job on generated sample media.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh run
cmake --preset native -DTW_BUILD_TESTS=OFF -DTW_BUILD_BENCH=OFF >/dev/null
cmake --build --preset native

drive=build/sample-drive
rm -rf "$drive"
build/native/tools/tarnwick-sample-drive "$drive" --entries 240 --seed 2026 >/dev/null
mapfile -t indexes < <(find "$drive" -name msmFMID.pmr | sort)
echo "== tarnwick-cli load ${indexes[*]}"
build/native/src/cli/tarnwick-cli load "${indexes[@]}"
