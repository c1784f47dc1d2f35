#!/usr/bin/env bash
# The 32-bit build beside the 64-bit one, in one run under Wine: bootdeck's start-up until the
# disk list shows and one list-mode probe, each build's median over RUNS, and the ratio x86/x64.
# Here the 32-bit build runs under 32-bit Wine, whose loader QEMU's user-mode emulator runs, so
# the ratio measures this test bed, not the two builds on a PC.
#
# Usage: bench/x86_vs_x64.sh [RUNS]   (after `make windows windows-i686`; default 6 runs each)
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-6}
# Each build's table on standard error; its medians of the start-up and of one probe returned.
median_row() {
  "$repo/bench/startup_enumeration.sh" "$runs" "$1" |
    awk '{ print | "cat 1>&2" } $1 == "med." { print $2, $8 }'
}
read -r x64_startup x64_probe < <(median_row x64)
read -r x86_startup x86_probe < <(median_row x86)
awk -v a="$x64_startup" -v b="$x86_startup" -v c="$x64_probe" -v d="$x86_probe" 'BEGIN {
  printf "%-10s %12s %12s %8s\n", "median ms", "x64", "x86", "x86/x64"
  printf "%-10s %12.1f %12.1f %8.2f\n", "start-up", a, b, b / a
  printf "%-10s %12.1f %12.1f %8.2f\n", "1 probe", c, d, d / c
}'
