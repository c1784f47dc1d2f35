#!/usr/bin/env bash
# Installs with apt-get whatever the build, the tests and the demo need and is missing.
# A second run finds everything and installs nothing.
set -euo pipefail

packages=(
  cmake ninja-build make g++ clang libgtest-dev
  mingw-w64 g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32
  wine wine64 wine32:i386 wine32-preloader:i386 qemu-user-static xvfb xauth x11-utils imagemagick fonts-wqy-microhei locales
  nasm qemu-system-x86 fdisk dosfstools mtools python3 zip unzip faketime
)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

# The i686 build's tests run under 32-bit Wine, whose packages are of the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "Adding the i386 architecture for 32-bit Wine"
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A Chinese locale for Wine's code page and date formats.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
    echo 'zh_CN.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen zh_CN.UTF-8 >/dev/null
fi

# 32-bit Linux programs (32-bit Wine's loader) run through QEMU's user-mode emulator where the
# kernel cannot start them itself: binfmt_misc hands i386 ELF files to qemu-i386-static. The
# registration does not survive a restart, so every run makes sure of it; failures here are not
# fatal, since `make check` says what is missing when the i686 tests are due.
binfmt=/proc/sys/fs/binfmt_misc
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  [ -e "$binfmt/register" ] || "${sudo_cmd[@]}" mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || true
  [ -e "$binfmt/qemu-i386" ] && echo 1 | "${sudo_cmd[@]}" tee "$binfmt/qemu-i386" >/dev/null 2>&1
  if [ -e "$binfmt/register" ] && [ ! -e "$binfmt/qemu-i386" ]; then
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:OPF" |
      "${sudo_cmd[@]}" tee "$binfmt/register" >/dev/null 2>&1 || true
  fi
fi
