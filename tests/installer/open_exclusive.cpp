// Test helper: opens a file for reading and writing with no sharing at all, as a program that
// needs it to itself would. Exit code 0 when it could, otherwise 1 and the system's error.
#include "installer/win32_platform.h"

#include <cstdio>

int wmain(int argc, wchar_t **argv) {
  if (argc != 2) {
    return 2;
  }
  const installer::Win32Handle file(CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    std::printf("error %lu\n", GetLastError());
    return 1;
  }
  return 0;
}
