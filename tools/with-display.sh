#!/usr/bin/env bash
# Runs a command on the current X display, or on a private Xvfb when there is none. Wine binds a
# prefix's server to the display it started on, so runs on private displays take turns with the
# project's prefix, and each ends the prefix's Wine server before its display goes away.
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BOOTDECK_WINEPREFIX=${BOOTDECK_WINEPREFIX:-$repo/build/wineprefix}
mkdir -p "$(dirname "$BOOTDECK_WINEPREFIX")"
exec 8>"$BOOTDECK_WINEPREFIX.display-lock"
if ! flock -n 8; then
  echo "with-display: waiting for another run on the Wine prefix to end" >&2
  flock 8
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" bash -c '
  status=0
  "$@" || status=$?
  WINEPREFIX=$BOOTDECK_WINEPREFIX wineserver -k 2>/dev/null || true
  exit $status' with-display "$@"
