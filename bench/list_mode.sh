#!/usr/bin/env bash
# Prints how long the installer tool's list mode takes from start to exit, beside a trivial
# program's start to exit, in one run: the host build natively, and the Windows build under Wine
# (both through cmd.exe as bootdeck runs them, and started directly).
#
# Usage: bench/list_mode.sh [RUNS]     (after `make host windows`; default 200 runs, 20 under Wine)
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-200}
wine_runs=$(((runs + 9) / 10))
work=$repo/build/bench
mkdir -p "$work"

"$repo/tests/fixtures/make-disk-image.sh" extended "$work/disk.img"
printf '(hd0) %s\n' "$work/disk.img" >"$work/host.map"
printf '(hd0) Z:%s\r\n' "$(echo "$work/disk.img" | tr / '\\')" >"$work/wine.map"

# Mean wall time of one run, in milliseconds, over $1 runs of the rest of the line.
mean_ms() {
  local n=$1
  shift
  local start end
  start=$(date +%s%N)
  for ((i = 0; i < n; i++)); do
    "$@" >/dev/null 2>&1 </dev/null || true
  done
  end=$(date +%s%N)
  awk -v t=$((end - start)) -v n="$n" 'BEGIN { printf "%.3f", t / n / 1000000 }'
}

row() {
  local label=$1 tool=$2 trivial=$3
  printf '%-34s %10s ms %10s ms %8s\n' "$label" "$tool" "$trivial" \
    "$(awk -v a="$tool" -v b="$trivial" 'BEGIN { printf "%.2f", a / b }')"
}

printf '%-34s %13s %13s %8s\n' "" "list mode" "trivial exe" "ratio"

host_tool=$repo/build/host/installer/mtldrinst
if [ -x "$host_tool" ]; then
  # The host preset builds with ASan and UBSan, whose start-up dominates: the trivial program
  # gets the same flags.
  printf 'int main() { return 0; }\n' >"$work/trivial.cpp"
  c++ -g -fsanitize=address,undefined -o "$work/trivial" "$work/trivial.cpp"
  export BOOTDECK_DEVICE_MAP=$work/host.map
  row "host build ($runs runs)" "$(mean_ms "$runs" "$host_tool" -l '(hd0)')" \
    "$(mean_ms "$runs" "$work/trivial")"
fi

win_tool=$repo/build/win64/installer/mtldrinst.exe
if [ -f "$win_tool" ]; then
  cp "$win_tool" "$work/mtldrinst.EXE"
  printf 'int main(void) { return 0; }\n' >"$work/trivial.c"
  x86_64-w64-mingw32-gcc -Os -s -o "$work/trivial.exe" "$work/trivial.c"
  folder=Z:$(echo "$work" | tr / '\\')
  export BOOTDECK_DEVICE_MAP=$folder\\wine.map
  wine=$repo/tools/wine-run.sh
  "$wine" cmd /c exit >/dev/null 2>&1 # the prefix and wineserver are up before timing
  row "Wine, direct ($wine_runs runs)" \
    "$(mean_ms "$wine_runs" "$wine" "$work/mtldrinst.EXE" -l '(hd0)')" \
    "$(mean_ms "$wine_runs" "$wine" "$work/trivial.exe")"
  row "Wine, cmd /c ... > tempch.tmp" \
    "$(mean_ms "$wine_runs" "$wine" cmd /c "$folder\\mtldrinst.EXE -l (hd0) >  $folder\\tempch.tmp")" \
    "$(mean_ms "$wine_runs" "$wine" cmd /c "$folder\\trivial.exe >  $folder\\tempch.tmp")"
fi
