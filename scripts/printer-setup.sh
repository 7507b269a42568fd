#!/usr/bin/env bash
# Registers the printer "Verdalis PDF" in the project's Wine prefix for "test"
# or "run" and makes it the default: Wine's PostScript driver with an A4 PPD,
# its port piping every job through Ghostscript to a PDF in build/prints/.
# Needs the Windows build (build/windows/add_printer.exe). Safe to run again.
set -euo pipefail
mode=${1:?usage: printer-setup.sh test|run}
root=$(cd "$(dirname "$0")/.." && pwd)
tool="$root/build/windows/add_printer.exe"
[ -f "$tool" ] || { echo "printer-setup: $tool is missing: build the windows preset first" >&2; exit 1; }
"$root/scripts/wine-prefix.sh" "$mode"
. "$root/scripts/wine-env.sh" "$mode"
prints="$root/build/prints"
mkdir -p "$prints"
exec 9>"$WINEPREFIX.lock"
flock 9
ppd=$(winepath -w "$root/resources/verdalis-a4.ppd" 2>/dev/null)
wine "$tool" "Verdalis PDF" "$ppd" "|'$root/resources/ps-to-pdf.sh' '$prints'"
wineserver -k 2>/dev/null || true
