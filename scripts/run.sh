#!/usr/bin/env bash
# Sets up, builds and opens the viewer with the bundled encyclopedia under Wine.
# Without a display it starts a virtual one (Xvfb, on a free display number),
# saves a screenshot of the first frame to build/screenshot.png and keeps the
# viewer running there until you press Ctrl-C.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
fail() { echo "run: $*" >&2; exit 1; }
scripts/build.sh
# The run prefix and its printer "Verdalis PDF" (PDFs in build/prints).
scripts/printer-setup.sh run
. scripts/wine-env.sh run
cd build/windows/stage

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec wine verdalis.exe
fi

window_timeout=${VERDALIS_WINDOW_TIMEOUT:-60}  # seconds; the first start of a prefix is slow
work=$(mktemp -d)
xvfb=
viewer=
cleanup() {
  if [ -n "$viewer" ]; then
    kill "$viewer" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
  fi
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Xvfb picks a free display number and writes it to fd 3 once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
deadline=$((SECONDS + 10))
until [ -s "$work/display" ]; do
  kill -0 "$xvfb" 2>/dev/null || fail "Xvfb did not start: $(tail -n 3 "$work/xvfb.log")"
  [ $SECONDS -lt $deadline ] || fail "Xvfb did not report a display within 10 s"
  sleep 0.05
done
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
xdpyinfo >/dev/null 2>&1 || fail "Xvfb reported display $DISPLAY but it does not answer"

wine verdalis.exe 2>"$work/wine.log" &
viewer=$!

# Wait for the viewer's window to be mapped...
deadline=$((SECONDS + window_timeout))
until xdotool search --onlyvisible --name '^Verdalis' >/dev/null 2>&1; do
  kill -0 "$viewer" 2>/dev/null || fail "the viewer exited before it showed a window: $(tail -n 5 "$work/wine.log")"
  [ $SECONDS -lt $deadline ] || fail "no viewer window on $DISPLAY after $window_timeout s"
  sleep 0.1
done
# ...and for its first frame: painted (the blank window and root have a colour
# or two, a frame hundreds) and no longer changing.
shot="$root/build/screenshot.png"
previous=
until
  import -window root "$work/shot.png" || fail "cannot take a screenshot of $DISPLAY"
  current=$(md5sum <"$work/shot.png")
  [ "$current" = "$previous" ] && [ "$(identify -format '%k' "$work/shot.png")" -gt 16 ]
do
  [ $SECONDS -lt $deadline ] || fail "the viewer's window did not settle within $window_timeout s"
  previous=$current
  sleep 0.2
done
mv "$work/shot.png" "$shot"

echo "No display here, so the viewer runs on the virtual display $DISPLAY."
echo "Screenshot of the first frame: $shot"
echo "To watch and use it: install x11vnc, run 'x11vnc -display $DISPLAY', and connect a VNC viewer."
echo "Press Ctrl-C to stop."
status=0
wait "$viewer" || status=$?
viewer=
[ "$status" -eq 0 ] || fail "the viewer exited with status $status"
