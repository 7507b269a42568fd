#!/usr/bin/env bash
# Creates the project's Wine prefix for "test" (null graphics driver, headless),
# "run" (X11 driver) or "package" (X11, the package tests' own) once, under the
# prefix's lock, and stops its wineserver so that the next run starts from a
# clean server. The prefix is marked ready only when every step succeeded; a
# half-made prefix is made again from scratch on the next call.
#   wine-prefix.sh test|run|package             make it if missing, stop its server
#   wine-prefix.sh --keep-server test|run|...   make it if missing, leave a running
#                                               server alone (for parallel test runs)
set -euo pipefail
keep_server=0
if [ "${1:-}" = --keep-server ]; then keep_server=1; shift; fi
mode=${1:?usage: wine-prefix.sh [--keep-server] test|run|package}
. "$(dirname "$0")/wine-env.sh" "$mode"
fail() { echo "wine-prefix: $*; $WINEPREFIX is not ready" >&2; exit 1; }
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/.verdalis-ready" ]; then
  echo "wine-prefix: creating $WINEPREFIX" >&2
  rm -rf "$WINEPREFIX"
  log="$WINEPREFIX.log"
  # Wine's daemon must not inherit the lock, or it would hold it after we exit.
  wineboot -i >"$log" 2>&1 9>&- || fail "wineboot -i failed (exit $?, see $log)"
  wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] || fail "wineboot wrote no registry (see $log)"
  if [ "$mode" = test ]; then
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >>"$log" 2>&1 9>&- ||
      fail "setting the null graphics driver failed (exit $?, see $log)"
    wineserver -w
    # The server writes the registry when it exits; check that the setting is there.
    grep -q '^"Graphics"="null"' "$WINEPREFIX/user.reg" ||
      fail "the null graphics driver is not in $WINEPREFIX/user.reg (see $log)"
  fi
  rm -f "$log"
  touch "$WINEPREFIX/.verdalis-ready"
elif [ "$keep_server" = 0 ]; then
  # -k only signals the server: wait until it is gone, or the next program
  # could reach a server that is shutting down.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
fi
