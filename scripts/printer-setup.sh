#!/usr/bin/env bash
# Registers the printer "Verdalis PDF" in the project's Wine prefix for "test"
# or "run" and makes it the default: Wine's PostScript driver with an A4 PPD,
# its port piping every job through Ghostscript to a PDF in build/prints/.
# Needs the Windows build (build/windows/add_printer.exe). Safe to run again;
# exits non-zero, saying which step failed, if the printer could not be set up.
set -euo pipefail
mode=${1:?usage: printer-setup.sh test|run}
root=$(cd "$(dirname "$0")/.." && pwd)
fail() { echo "printer-setup: $*" >&2; exit 1; }
tool="$root/build/windows/add_printer.exe"
ppd_host="$root/resources/verdalis-a4.ppd"
[ -f "$tool" ] || fail "$tool is missing: build the windows preset first"
[ -s "$ppd_host" ] || fail "the PPD $ppd_host is missing or empty"
"$root/scripts/wine-prefix.sh" "$mode"
. "$root/scripts/wine-env.sh" "$mode"
prints="$root/build/prints"
mkdir -p "$prints"
exec 9>"$WINEPREFIX.lock"
flock 9
trap 'wineserver -k 2>/dev/null || true' EXIT
# Wine's daemon must not inherit the lock (9>&-), or it would hold it after we exit.
ppd=$(winepath -w "$ppd_host" 2>/dev/null 9>&-) || fail "winepath could not convert $ppd_host"
[ -n "$ppd" ] || fail "winepath gave an empty path for $ppd_host"
wine "$tool" "Verdalis PDF" "$ppd" "|'$root/resources/ps-to-pdf.sh' '$prints'" 9>&- ||
  fail "add_printer.exe failed (exit $?) in $WINEPREFIX"
