#!/usr/bin/env bash
# Sets up, builds and makes the Windows release packages:
#   build/release/Verdalis-<version>-win64.zip   the runnable folder, unpacked anywhere
#   build/release/Verdalis-<version>-setup.exe   a per-user installer (NSIS)
#   build/release/Verdalis-<version>-book.pdf    the whole book as the viewer prints it
# The packages come from CPack through the windows preset's "package" target,
# the same target the package tests build. The book is every entry printed
# through the viewer's own print path (the "book" target, several minutes
# under Wine, so the test command leaves it to this script), then checked.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
cmake --build --preset windows --target package
cmake --build --preset windows --target book
tests/package/book_test.sh build/release/Verdalis-*-book.pdf build/windows/book
ls -l build/release
