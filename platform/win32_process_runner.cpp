#include "platform/win32_process_runner.h"

#include "platform/command_interpreter.h"
#include "platform/system_error.h"
#include "platform/utf.h"

#include <vector>

namespace bootdeck {

namespace {

std::wstring expandEnvironment(const std::wstring &text) {
  std::vector<wchar_t> buffer(text.size() + 256);
  for (;;) {
    const DWORD needed =
        ExpandEnvironmentStringsW(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (needed == 0)
      throw lastErrorFailure();
    if (needed <= buffer.size())
      return std::wstring(buffer.data());
    buffer.resize(needed);
  }
}

std::string systemFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH)
    throw lastErrorFailure();
  return narrow(folder);
}

} // namespace

Win32ProcessRunner::Win32ProcessRunner(const std::string &workingFolder)
    : workingFolder_(widen(workingFolder)) {}

RunResult Win32ProcessRunner::run(const std::string &command, WindowStyle style, bool wait) {
  const std::string interpreter =
      interpreterPath(narrow(expandEnvironment(L"%ComSpec%")), systemFolder());
  const std::optional<std::string> line = interpreterCommandLine(command, interpreter);
  if (!line)
    throw Failure(ERROR_BAD_FORMAT, systemErrorText(ERROR_BAD_FORMAT));
  // The program is named on its own as well, so no search can put another in its place.
  const std::wstring program = widen(interpreter);
  std::wstring commandLine = expandEnvironment(widen(*line));

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = style == WindowStyle::Hidden ? SW_HIDE : SW_SHOWNORMAL;
  PROCESS_INFORMATION info = {};

  RunResult result;
  if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                      nullptr, workingFolder_.c_str(), &startup, &info)) {
    result.errorNumber = GetLastError();
    result.errorText = systemErrorText(result.errorNumber);
    return result;
  }
  result.started = true;
  ScopedHandle process(info.hProcess);
  ScopedHandle thread(info.hThread);

  if (!wait) {
    unwaited_ = std::move(process);
    return result;
  }
  WaitForSingleObject(process.get(), INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  result.exitCode = code;
  return result;
}

bool Win32ProcessRunner::unwaitedRunActive() {
  return unwaited_.valid() && WaitForSingleObject(unwaited_.get(), 0) == WAIT_TIMEOUT;
}

} // namespace bootdeck
