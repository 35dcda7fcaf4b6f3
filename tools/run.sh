#!/usr/bin/env bash
# Installs what is missing, builds Tarnwick and runs its main job on generated sample media.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh run
cmake --preset native -DTW_BUILD_TESTS=OFF -DTW_BUILD_BENCH=OFF >/dev/null
cmake --build --preset native

sample=build/sample
mkdir -p "$sample"
build/native/tools/tarnwick-sample-index "$sample/msmFMID.pmr" --entries 40 --seed 2026 --damaged
echo "== tarnwick-cli pmr $sample/msmFMID.pmr"
build/native/src/cli/tarnwick-cli pmr "$sample/msmFMID.pmr"
