// A stand-in for the command interpreter that tests put into COMSPEC: it appends its command
// line (UTF-8, one per line) to the file named by BOOTDECK_COMSPEC_LOG, then runs the real
// cmd.exe with the same arguments and returns its exit code.
#include "platform/scoped.h"
#include "platform/utf.h"

#include <windows.h>

#include <string>

namespace {

// The arguments part of a command line: what follows the program name.
const wchar_t *arguments(const wchar_t *commandLine) {
  const wchar_t *p = commandLine;
  if (*p == L'"') {
    for (++p; *p && *p != L'"'; ++p) {
    }
    if (*p)
      ++p;
  } else {
    while (*p && *p != L' ' && *p != L'\t')
      ++p;
  }
  return p;
}

void appendLine(const wchar_t *logPath, const std::wstring &line) {
  bootdeck::ScopedFile log(CreateFileW(logPath, FILE_APPEND_DATA,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!log.valid())
    return;
  const std::string bytes = bootdeck::narrow(line) + "\r\n";
  DWORD written = 0;
  WriteFile(log.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring realInterpreter() {
  wchar_t folder[MAX_PATH];
  GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder) + L"\\cmd.exe";
}

} // namespace

int wmain() {
  const wchar_t *commandLine = GetCommandLineW();
  wchar_t logPath[MAX_PATH * 2];
  if (GetEnvironmentVariableW(L"BOOTDECK_COMSPEC_LOG", logPath, MAX_PATH * 2))
    appendLine(logPath, commandLine);

  const std::wstring interpreter = realInterpreter();
  std::wstring line = L"\"" + interpreter + L"\"" + arguments(commandLine);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(interpreter.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &info))
    return 9009; // what cmd.exe answers for a program it cannot find
  bootdeck::ScopedHandle process(info.hProcess);
  bootdeck::ScopedHandle thread(info.hThread);
  WaitForSingleObject(process.get(), INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  return static_cast<int>(code);
}
