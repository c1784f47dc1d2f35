#!/usr/bin/env bash
# The i686 build's tests: the same suites as x86_64's, under 32-bit Wine. 32-bit Wine's loader is
# a 32-bit Linux program; where the kernel cannot start those, QEMU's user-mode emulator does,
# through binfmt_misc (tools/install-deps.sh sets both up). Where that cannot be had, this fails
# and says what is missing, unless BOOTDECK_SKIP_X86=1 skips the tests (the import check of the
# i686 executables still runs).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

if [ "${BOOTDECK_SKIP_X86:-0}" = 1 ]; then
  echo "check-i686: BOOTDECK_SKIP_X86=1, so only the i686 build's imports are checked" >&2
  exec cmake --build --preset windows-i686 --target check_imports
fi

if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  binfmt=/proc/sys/fs/binfmt_misc
  if [ ! -x /usr/lib/wine/wine ]; then
    why="32-bit Wine is not installed (Debian's wine32:i386 and wine32-preloader:i386)"
  elif [ ! -e "$binfmt/register" ]; then
    why="binfmt_misc is not mounted at $binfmt, and mounting it needs root"
  elif ! grep -qx enabled "$binfmt/qemu-i386" 2>/dev/null; then
    why="no handler for 32-bit programs: qemu-i386-static (package qemu-user-static) is not registered and enabled in binfmt_misc, which needs root"
  else
    why="32-bit programs do not start: $(/usr/lib/wine/wine --version 2>&1 | head -n 1 || true)"
  fi
  echo "check-i686: the i686 build's tests cannot run: $why." >&2
  echo "Run tools/install-deps.sh as root, or skip these tests with: make check BOOTDECK_SKIP_X86=1" >&2
  exit 1
fi

# As for the x86_64 build (see check-windows in the Makefile), a failed test is run once more.
exec tools/with-display.sh ctest --preset windows-i686 --repeat until-pass:2
