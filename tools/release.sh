#!/usr/bin/env bash
# Packs what a user downloads, from the two Windows builds (make release builds them first):
#   build/release/bootdeck-VERSION-x64.zip, bootdeck-VERSION-x86.zip
#       each bootdeck.exe, README.txt (docs/user-readme.txt) and LICENSE.txt; x64/ and x86/
#       beside them hold the same files unpacked
#   build/release/SHA256SUMS  over the two zips and the two exes
# Every run on the same exes gives the same bytes: the entries go in a fixed order with fixed
# permissions, no extra fields, and the time of the last commit.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$repo/build/release
# Name in the zip's file name, and build folder, of each Windows build.
builds=("x64 win64" "x86 win32")

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$repo/build/win64/CMakeCache.txt" 2>/dev/null)
[ -n "$version" ] || { echo "release: build first (make release)" >&2; exit 1; }
epoch=$(git -C "$repo" log -1 --format=%ct)

# Windows text: CR LF line ends.
windows_text() { sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$1"; }

rm -rf "$out"
mkdir -p "$out"
summed=()
for build in "${builds[@]}"; do
  read -r arch folder <<<"$build"
  stage=$out/$arch
  mkdir "$stage"
  cp "$repo/build/$folder/app/bootdeck.exe" "$stage/"
  # The byte-order mark tells Notepad, down to the one of XP, that the text is UTF-8.
  { printf '\xef\xbb\xbf'; windows_text "$repo/docs/user-readme.txt"; } >"$stage/README.txt"
  windows_text "$repo/LICENSE" >"$stage/LICENSE.txt"
  chmod 644 "$stage"/*
  # A zip holds local times: UTC makes them the same in every time zone.
  TZ=UTC0 touch -d "@$epoch" "$stage"/*
  zip_name=bootdeck-$version-$arch.zip
  (cd "$stage" && TZ=UTC0 zip -q -X -9 "$out/$zip_name" bootdeck.exe README.txt LICENSE.txt)
  summed+=("$zip_name" "$arch/bootdeck.exe")
done
(cd "$out" && sha256sum "${summed[@]}" >SHA256SUMS)
echo "release: $out"
cat "$out/SHA256SUMS"
