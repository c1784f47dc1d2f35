#!/usr/bin/env bash
# Shows bootdeck under Wine on two demo disk images, never on a real disk: the device map that
# BOOTDECK_DEVICE_MAP names holds the only disks the installer tool can see.
#   On a display: bootdeck opens there; close it to end the demo.
#   Headless: it runs in a Wine desktop on a private Xvfb; once its window shows, a screenshot is
#   saved (build/demo/screenshot.png) and the demo ends.
# BOOTDECK_DEMO_BUILD=x86 (make demo-x86) shows the 32-bit build, under 32-bit Wine.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
demo=$repo/build/demo
case ${BOOTDECK_DEMO_BUILD:-x64} in
x86) exe=$repo/build/win32/app/bootdeck.exe ;;
*) exe=$repo/build/win64/app/bootdeck.exe ;;
esac
# Wine's drive D: is the demo folder, so bootdeck runs from D:\bootdeck\ as it would on a PC,
# not from a folder that spells out this machine's own paths.
prefix=${BOOTDECK_WINEPREFIX:-$repo/build/wineprefix}
program='D:\bootdeck\bootdeck.exe'

if [ "${1:-}" != --headless ]; then
  [ -f "$exe" ] || { echo "demo: build first (make demo or make demo-x86)" >&2; exit 1; }
  rm -rf "$demo"
  mkdir -p "$demo/bootdeck"
  # Two disks of different sizes: 16 MiB and 64 MiB images, sparse, with partition tables.
  "$repo/tests/fixtures/make-disk-image.sh" plain "$demo/disk0.img"
  "$repo/tests/fixtures/make-disk-image.sh" small "$demo/disk1.img"
  printf '(hd0) D:\\disk0.img\r\n(hd1) D:\\disk1.img\r\n' >"$demo/device.map"
  cp "$exe" "$demo/bootdeck/"
  [ -d "$prefix/dosdevices" ] || "$repo/tools/wine-run.sh" cmd /c exit 0
  ln -sfn "$demo" "$prefix/dosdevices/d:"
  export BOOTDECK_DEVICE_MAP='D:\device.map'

  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "demo: bootdeck is open on $DISPLAY; close it to end the demo"
    exec "$repo/tools/wine-run.sh" "$program"
  fi
  exec "$repo/tools/with-display.sh" "$0" --headless
fi

# Headless: a Wine desktop of 1024x768 in the top left corner of the Xvfb screen.
shot=$demo/screenshot.png
"$repo/tools/wine-run.sh" explorer /desktop=bootdeck,1024x768 "$program" >"$demo/wine.log" 2>&1 &

# The window is centred on the desktop: it has shown once the centre differs from the desktop's
# background in the corner, in two screenshots in a row.
pixel() { convert "$shot" -format "%[pixel:p{$1,$2}]" info:; }
seen=0
for _ in $(seq 1 240); do
  sleep 0.5
  import -window root "$shot" 2>/dev/null || continue
  if [ "$(pixel 512 384)" != "$(pixel 2 2)" ]; then
    seen=$((seen + 1))
    [ $seen -ge 2 ] && break
  else
    seen=0
  fi
done
if [ $seen -lt 2 ]; then
  echo "demo: bootdeck's window did not show within two minutes; see $demo/wine.log" >&2
  exit 1
fi
convert "$shot" -crop 1024x768+0+0 +repage "$shot"
echo "demo: bootdeck ran on the two demo disks; screenshot of its window: $shot"
