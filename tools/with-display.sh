#!/usr/bin/env bash
# Runs a command on the current X display, or on a private Xvfb when there is none. With a private
# Xvfb, the Wine server of the project's prefix is ended with it, so none outlives its display.
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BOOTDECK_WINEPREFIX=${BOOTDECK_WINEPREFIX:-$repo/build/wineprefix}
exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" bash -c '
  status=0
  "$@" || status=$?
  WINEPREFIX=$BOOTDECK_WINEPREFIX wineserver -k 2>/dev/null || true
  exit $status' with-display "$@"
