#include "installer/win32_firmware.h"

#include <windows.h>

namespace installer {

namespace {

using FirmwareTypeCall = BOOL(WINAPI *)(DWORD *);
using VariableCall = DWORD(WINAPI *)(const wchar_t *, const wchar_t *, void *, DWORD);

// Through a generic function pointer: GetProcAddress's own type says nothing of the call.
template <typename Call> Call findCall(HMODULE kernel, const char *name) {
  return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(kernel, name)));
}

} // namespace

FirmwareAnswers askFirmware() {
  FirmwareAnswers answers;
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (const auto getType = findCall<FirmwareTypeCall>(kernel, "GetFirmwareType")) {
    DWORD type = 0;
    answers.typeCallExists = true;
    answers.typeCallSucceeded = getType(&type) != FALSE;
    answers.type = type;
    return answers;
  }
  if (const auto getVariable = findCall<VariableCall>(kernel, "GetFirmwareEnvironmentVariableW")) {
    answers.variableCallExists = true;
    SetLastError(ERROR_SUCCESS);
    getVariable(L"", L"{00000000-0000-0000-0000-000000000000}", nullptr, 0);
    answers.variableError = GetLastError();
  }
  return answers;
}

} // namespace installer
