#!/usr/bin/env bash
# Runs a Windows program headless under Wine in the test prefix (the CMake
# cross-compiling emulator). Creates the prefix on first use.
set -euo pipefail
here=$(dirname "$0")
[ -f "$(cd "$here/.." && pwd)/build/wine-test/.verdalis-ready" ] || "$here/wine-prefix.sh" test >&2
. "$here/wine-env.sh" test
exec wine "$@"
