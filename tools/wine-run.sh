#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix, with a Chinese locale and a
# CJK font, on the current display (tools/with-display.sh provides one when there is none).
# Used as CMake's cross-compiling emulator and by the demo, for the x86_64 and the i686 builds.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${BOOTDECK_WINEPREFIX:-$repo/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
# The 64-bit loader for every program: Debian's `wine` would start even 64-bit programs through
# the 32-bit loader, ten times slower under the emulator. Wine hands 32-bit programs, and those
# they start, to the 32-bit loader beside it.
export WINELOADER=/usr/lib/wine/wine64

# The prefix is made once (again when its settings below change); concurrent first runs wait for
# the one that makes it.
prefix_version=3
ready=$WINEPREFIX/.bootdeck-ready
if [ "$(cat "$ready" 2>/dev/null)" != "$prefix_version" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ "$(cat "$ready" 2>/dev/null)" != "$prefix_version" ]; then
    # Made anew, so that syswow64 holds the 32-bit system that the i686 build runs on.
    rm -rf "$WINEPREFIX"
    "$WINELOADER" wineboot --init >/dev/null 2>&1 || true
    # The tool's console shows Chinese only in a CJK console font; the output box's frame colour
    # is black on Windows, as a person there sees it.
    "$WINELOADER" reg add 'HKCU\Console' /v FaceName /d 'WenQuanYi Micro Hei Mono' /f >/dev/null 2>&1
    "$WINELOADER" reg add 'HKCU\Control Panel\Colors' /v WindowFrame /d '0 0 0' /f >/dev/null 2>&1
    wineserver -w
    echo "$prefix_version" >"$ready"
  fi
  flock -u 9
fi

exec "$WINELOADER" "$@"
