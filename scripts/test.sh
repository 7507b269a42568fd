#!/usr/bin/env bash
# Sets up, builds and runs every test headless: host tests (ASan and UBSan),
# the Windows tests under Wine, and a short fuzzing run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
status=0
ctest --preset host || status=1
scripts/wine-prefix.sh test  # every Windows test run starts from a stopped wineserver
ctest --preset windows || status=1
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz || status=1
exit $status
