#!/usr/bin/env bash
# Prints how long bootdeck's start-up takes until its main window shows the disk list, beside the
# eleven list-mode probes of the enumeration run on their own, side by side in one run under
# Wine, with the ratio of the two (the enumeration should cost little beyond its probes), and
# the time of one probe, which is also the cost of re-checking the chosen disk before a run.
#
# Columns: the whole start-up; its part before the first probe (process start, tool files,
# window); the rest, the enumeration; the eleven probes alone; the ratios of the whole start-up
# and of the enumeration to the probes alone; the first probe alone.
#
# Usage: bench/startup_enumeration.sh [RUNS] [x64|x86]
#   (after `make windows` or `make windows-i686`; default 10 runs of the x64 build)
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-10}
build=${2:-x64}
# The timer is of the build's own kind, so that its probes start the interpreter that build's
# bootdeck starts (on 64-bit Windows a 32-bit program gets the 32-bit one).
case $build in
x64) exe=$repo/build/win64/app/bootdeck.exe compiler=x86_64-w64-mingw32-g++ ;;
x86) exe=$repo/build/win32/app/bootdeck.exe compiler=i686-w64-mingw32-g++ ;;
*) echo "usage: $0 [RUNS] [x64|x86]" >&2; exit 2 ;;
esac
work=$repo/build/bench/startup-$build
[ -f "$exe" ] || { echo "build bootdeck first: make windows (x64) or make windows-i686 (x86)" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work/app"

# Two disks, as on a machine with a hard disk and a USB stick: items at positions 0 and 2.
"$repo/tests/fixtures/make-disk-image.sh" plain "$work/disk0.img"
"$repo/tests/fixtures/make-disk-image.sh" small "$work/disk2.img"
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
printf '(hd0) %s\r\n(hd2) %s\r\n' "$(windows_path "$work/disk0.img")" \
  "$(windows_path "$work/disk2.img")" >"$work/device.map"

"$compiler" -std=c++17 -Os -municode -static -DUNICODE -D_UNICODE -I"$repo" \
  -o "$work/startup_timer.exe" "$repo/bench/startup_timer.cpp"

export BOOTDECK_DEVICE_MAP
BOOTDECK_DEVICE_MAP=$(windows_path "$work/device.map")
"$repo/tools/with-display.sh" "$repo/tools/wine-run.sh" "$work/startup_timer.exe" \
  "$(windows_path "$exe")" "$(windows_path "$work/app")" "$runs"
