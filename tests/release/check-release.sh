#!/usr/bin/env bash
# Checks the release that `make release` left in build/release/:
#   - each zip holds exactly bootdeck.exe, README.txt and LICENSE.txt, and its bootdeck.exe is
#     the one the build made, for the build's machine;
#   - a second release, made from a copy of the sources in another folder, a year later (through
#     faketime), in another time zone and with another umask, has the same SHA256SUMS: the same
#     exes (with the tools inside) and zips, to the byte.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
release=$repo/build/release
work=$repo/build/reproduce
second=$work/a-second-folder-for-the-same-sources
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$repo/build/win64/CMakeCache.txt")
fail() {
  echo "check-release: $*" >&2
  exit 1
}

# Name in the zip's file name, build folder and PE machine type of each Windows build.
builds=("x64 win64 8664" "x86 win32 014c")
machine() {
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1")
  od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' '
}

rm -rf "$work"
mkdir -p "$work"
for build in "${builds[@]}"; do
  read -r arch folder expected <<<"$build"
  zip=$release/bootdeck-$version-$arch.zip
  entries=$(unzip -Z1 "$zip" | tr '\n' ' ')
  [ "$entries" = "bootdeck.exe README.txt LICENSE.txt " ] ||
    fail "$zip: expected bootdeck.exe README.txt LICENSE.txt, got $entries"
  unzip -p "$zip" bootdeck.exe >"$work/bootdeck.exe"
  cmp -s "$work/bootdeck.exe" "$repo/build/$folder/app/bootdeck.exe" ||
    fail "$zip: its bootdeck.exe is not build/$folder/app/bootdeck.exe"
  [ "$(machine "$work/bootdeck.exe")" = "$expected" ] ||
    fail "$zip: expected machine $expected, got $(machine "$work/bootdeck.exe")"
done
(cd "$release" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the files"

# The copy: a clone, for the last commit's time that the zips take, with the working tree's
# files over it, so that it builds what the first build built. The linker would take
# SOURCE_DATE_EPOCH for the time in the PE headers, so the second build runs without it.
git clone -q --shared --no-checkout "$repo" "$second"
tar -C "$repo" --exclude=./build --exclude=./.git -cf - . | tar -C "$second" -xf -
echo "check-release: building the release again in $second"
started=$SECONDS
(umask 077 && env -u SOURCE_DATE_EPOCH TZ=CST-8 faketime -f +365d make -C "$second" release) \
  >"$work/log" 2>&1 ||
  { tail -n 40 "$work/log"; fail "the second build failed; its log: $work/log"; }
diff "$release/SHA256SUMS" "$second/build/release/SHA256SUMS" >&2 ||
  fail "the second build differs (kept in $second)"
echo "check-release: the same bytes from both builds ($((SECONDS - started)) s for the second)"
rm -rf "$work"
