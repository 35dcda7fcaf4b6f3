#!/usr/bin/env bash
# Writes the golden files of tarnwick-cli's outputs (tests/cli/golden) again from the native build, after an
# intended change of an output. Review the difference with git before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset native -DTW_BUILD_TESTS=ON >/dev/null
cmake --build --preset native --target tarnwick-cli tarnwick-sample-drive
TW_UPDATE_GOLDEN=1 ctest --preset native -L golden
git status --short -- tests/cli/golden
