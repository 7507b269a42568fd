#!/usr/bin/env bash
# Runs a Windows program headless under Wine in the test prefix (the CMake
# cross-compiling emulator). Creates the prefix on first use, under its lock;
# a prefix that is ready is left as it is, with its running wineserver, since
# CTest may run other programs in it at the same time.
set -euo pipefail
here=$(dirname "$0")
"$here/wine-prefix.sh" --keep-server test >&2
. "$here/wine-env.sh" test
exec wine "$@"
