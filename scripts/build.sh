#!/usr/bin/env bash
# Installs what is missing and builds everything: the host tools (which pack the
# encyclopedia) and the Windows viewer with its runnable folder build/windows/stage.
# It touches only the test prefix (build/wine-test); scripts/run.sh sets up the
# viewer's own prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset host >/dev/null
cmake --build --preset host
# The Windows build runs its generators (icon, sidebar art) under Wine.
scripts/wine-prefix.sh test
cmake --preset windows >/dev/null
cmake --build --preset windows
# The Wine printer "Verdalis PDF" (PDFs in build/prints) that the printing tests use.
scripts/printer-setup.sh test
