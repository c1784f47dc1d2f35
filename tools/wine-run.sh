#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix, with a Chinese locale and a
# CJK font, on the current display (tools/with-display.sh provides one when there is none).
# Used as CMake's cross-compiling emulator and by the demo.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${BOOTDECK_WINEPREFIX:-$repo/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

# The prefix is made once; concurrent first runs wait for the one that makes it.
if [ ! -f "$WINEPREFIX/.bootdeck-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.bootdeck-ready" ]; then
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w
    touch "$WINEPREFIX/.bootdeck-ready"
  fi
  flock -u 9
fi

exec wine "$@"
