// A stand-in for the command interpreter that tests put into COMSPEC: it appends its command line
// (UTF-8, one per line) to the file named by BOOTDECK_COMSPEC_LOG, then runs the real cmd.exe
// with the same arguments and returns its exit code.
#include "platform/utf.h"

#include <windows.h>

#include <string>

int wmain() {
  const std::wstring line = GetCommandLineW();
  wchar_t log[MAX_PATH * 2] = {}, cmd[MAX_PATH] = {};
  GetEnvironmentVariableW(L"BOOTDECK_COMSPEC_LOG", log, MAX_PATH * 2);
  const HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, 0, nullptr);
  const std::string bytes = bootdeck::narrow(line) + "\r\n";
  DWORD done = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
  CloseHandle(file);
  // The arguments follow the program name, which may be quoted.
  const size_t end = line[0] == L'"' ? line.find(L'"', 1) + 1 : line.find(L' ');
  GetSystemDirectoryW(cmd, MAX_PATH);
  std::wstring real =
      L"\"" + std::wstring(cmd) + L"\\cmd.exe\"" + (end < line.size() ? line.substr(end) : L"");
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, &real[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &info))
    return 9009; // what cmd.exe answers for a program it cannot find
  WaitForSingleObject(info.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  return static_cast<int>(code);
}
