#!/usr/bin/env bash
# Prepares on the host the disk images of the disk-list tests, in OUT/disks:
#   plain.img  16 MiB, primaries of 8192 and 22528 sectors: listed as 15 MB
#   small.img  64 MiB, primaries of 16 MiB and 32 MiB: listed as 48 MB
#   huge.img   sparse 3 TiB, entries of 80000000 and FFFFFFFF sectors: listed as 3072 GB
# The tests copy the images they may write to, and write their own device maps.
# Usage: tests/e2e/disks_prepare.sh OUT
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=$1/disks
mkdir -p "$out"
for kind in plain small huge; do
  "$repo/tests/fixtures/make-disk-image.sh" "$kind" "$out/$kind.img"
done
