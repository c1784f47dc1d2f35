#!/usr/bin/env bash
# Installs with apt-get whatever the build, the tests and the demo need and is missing.
# A second run finds everything and installs nothing.
set -euo pipefail

packages=(
  cmake ninja-build make g++ clang libgtest-dev
  mingw-w64 g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32
  wine wine64 xvfb xauth x11-utils imagemagick fonts-wqy-microhei locales
  nasm qemu-system-x86 fdisk dosfstools mtools python3 zip unzip faketime
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A Chinese locale for Wine's code page and date formats.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
    echo 'zh_CN.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen zh_CN.UTF-8 >/dev/null
fi
