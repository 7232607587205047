#!/usr/bin/env bash
# Starts the main window on a virtual display and saves a picture of the screen.
#   scripts/screenshot.sh [build-dir] [out.png]
# The window is shown as it starts (centred, no window manager, so without a title
# bar). Set SCREEN_SIZE to change the virtual screen (default 800x600).
set -euo pipefail
BUILD=${1:-build}
OUT=${2:-screenshot.png}
BIN=${BIN:-$BUILD/conversor-tolv}
SIZE=${SCREEN_SIZE:-800x600}

if [ ! -x "$BIN" ]; then
  echo "screenshot: $BIN not found; build the conversor-tolv target first" >&2
  exit 1
fi
for tool in xvfb-run import xwininfo; do
  command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done

OUT_ABS=$(realpath -m "$OUT")
BIN_ABS=$(realpath "$BIN")
export OUT_ABS BIN_ABS
xvfb-run -a -s "-screen 0 ${SIZE}x24" bash -c '
  set -u
  unset QT_QPA_PLATFORM
  "$BIN_ABS" &
  pid=$!
  # Wait until the window is mapped, then give it a moment to paint.
  for _ in $(seq 1 100); do
    if xwininfo -root -tree 2>/dev/null | grep -q "Conversor de dados - TOLV -"; then break; fi
    if ! kill -0 "$pid" 2>/dev/null; then echo "screenshot: the program ended early" >&2; exit 1; fi
    sleep 0.1
  done
  sleep 1
  import -window root "$OUT_ABS"
  status=$?
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  exit $status
'
echo "screenshot: $OUT_ABS"
