#!/usr/bin/env bash
# Creates the project's Wine prefix for "test" (null graphics driver, headless)
# or "run" (X11 driver) once, and stops its wineserver so that every run starts
# from a clean server.
set -euo pipefail
mode=${1:?usage: wine-prefix.sh test|run}
. "$(dirname "$0")/wine-env.sh" "$mode"
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/.verdalis-ready" ]; then
  echo "wine-prefix: creating $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] || { echo "wine-prefix: wineboot failed" >&2; exit 1; }
  if [ "$mode" = test ]; then
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  fi
  wineserver -w
  touch "$WINEPREFIX/.verdalis-ready"
fi
wineserver -k 2>/dev/null || true
