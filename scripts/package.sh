#!/usr/bin/env bash
# Sets up, builds and makes the Windows release packages:
#   build/release/Verdalis-<version>-win64.zip   the runnable folder, unpacked anywhere
#   build/release/Verdalis-<version>-setup.exe   a per-user installer (NSIS)
# Both come from CPack through the windows preset's "package" target, the same
# target the package tests build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
cmake --build --preset windows --target package
ls -l build/release
