#!/usr/bin/env bash
# Prepares on the host what the end-to-end tests use under Wine:
#   OUT/plain.img  16 MiB, primaries of 8192 and 22528 sectors: listed as 15 MB
#   OUT/small.img  64 MiB, primaries of 16 MiB and 32 MiB: listed as 48 MB
#   OUT/huge.img   sparse 3 TiB, entries of 80000000 and FFFFFFFF sectors: listed as 3072 GB
#   Wine drive R:  mapped to the empty folder OUT/drive-root, for a program in a drive's root
# The tests copy the images they write to and write their own device maps.
# Usage: tests/e2e/prepare.sh OUT
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=$1
prefix=${BOOTDECK_WINEPREFIX:-$repo/build/wineprefix}
mkdir -p "$out"
for kind in plain small huge; do
  "$repo/tests/fixtures/make-disk-image.sh" "$kind" "$out/$kind.img"
done
# The prefix exists once Wine has run in it.
[ -d "$prefix/dosdevices" ] || "$repo/tools/wine-run.sh" cmd /c exit 0
rm -rf "$out/drive-root"
mkdir -p "$out/drive-root"
ln -sfn "$out/drive-root" "$prefix/dosdevices/r:"
