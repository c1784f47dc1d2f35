#!/usr/bin/env bash
# Prepares on the host what the end-to-end tests use under Wine:
#   OUT/disk0.img   a small disk image with a partition table
#   OUT/device.map  the device map that names it as (hd0), with a Windows path
#   Wine drive R:   mapped to the empty folder OUT/drive-root, for a program in a drive's root
# Usage: tests/e2e/prepare.sh OUT
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=$1
prefix=${BOOTDECK_WINEPREFIX:-$repo/build/wineprefix}

mkdir -p "$out"
"$repo/tests/fixtures/make-disk-image.sh" plain "$out/disk0.img"
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
printf '(hd0) %s\r\n' "$(windows_path "$out/disk0.img")" >"$out/device.map"

# The prefix exists once Wine has run in it.
[ -d "$prefix/dosdevices" ] || "$repo/tools/wine-run.sh" cmd /c exit 0
rm -rf "$out/drive-root"
mkdir -p "$out/drive-root"
ln -sfn "$out/drive-root" "$prefix/dosdevices/r:"
