#!/usr/bin/env bash
# Sets up, builds and opens the viewer with the bundled encyclopedia under Wine.
# Without a display it starts a virtual one (Xvfb), saves a screenshot of the
# first frame and keeps the viewer running there until you press Ctrl-C.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
scripts/wine-prefix.sh run
root=$(pwd)
. scripts/wine-env.sh run
cd build/windows/stage

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec wine verdalis.exe
fi

display=:${VERDALIS_DISPLAY:-77}
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdotool mousemove 1020 760 2>/dev/null || true  # keep the pointer off the index for the first frame
wine verdalis.exe &
viewer=$!
for _ in $(seq 100); do xdotool search --name 'Verdalis' >/dev/null 2>&1 && break; sleep 0.2; done
sleep 1
shot="$root/build/screenshot.png"
import -window root "$shot"
echo "No display here, so the viewer runs on the virtual display $DISPLAY."
echo "Screenshot of the first frame: $shot"
echo "To watch and use it: install x11vnc, run 'x11vnc -display $DISPLAY', and connect a VNC viewer."
echo "Press Ctrl-C to stop."
wait $viewer || true
