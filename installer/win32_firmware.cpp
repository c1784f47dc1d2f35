#include "installer/win32_firmware.h"

#include "platform/registry_value.h"

#include <windows.h>

namespace installer {

namespace {

using FirmwareTypeCall = BOOL(WINAPI *)(DWORD *);
using VariableCall = DWORD(WINAPI *)(const wchar_t *, const wchar_t *, void *, DWORD);

// Through a generic function pointer: GetProcAddress's own type says nothing of the call.
template <typename Call> Call findCall(HMODULE kernel, const char *name) {
  return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(kernel, name)));
}

// An elevated administrator holds SeSystemEnvironmentPrivilege disabled, and without it the
// variable call fails with ERROR_PRIVILEGE_NOT_HELD on UEFI firmware too. Enabled while this
// lives, then put back as it was.
class SystemEnvironmentPrivilege {
public:
  SystemEnvironmentPrivilege() {
    TOKEN_PRIVILEGES wanted = {};
    wanted.PrivilegeCount = 1;
    wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    DWORD size = 0;
    changed_ =
        OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token_) &&
        LookupPrivilegeValueW(nullptr, L"SeSystemEnvironmentPrivilege",
                              &wanted.Privileges[0].Luid) &&
        AdjustTokenPrivileges(token_, FALSE, &wanted, sizeof previous_, &previous_, &size) &&
        GetLastError() == ERROR_SUCCESS;
  }
  SystemEnvironmentPrivilege(const SystemEnvironmentPrivilege &) = delete;
  SystemEnvironmentPrivilege &operator=(const SystemEnvironmentPrivilege &) = delete;
  ~SystemEnvironmentPrivilege() {
    if (changed_) {
      AdjustTokenPrivileges(token_, FALSE, &previous_, 0, nullptr, nullptr);
    }
    if (token_ != nullptr) {
      CloseHandle(token_);
    }
  }

private:
  HANDLE token_ = nullptr;
  TOKEN_PRIVILEGES previous_ = {};
  bool changed_ = false;
};

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
  // Only WinPE has the value.
  answers.peFirmwareType =
      bootdeck::registryDword(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control",
                              L"PEFirmwareType")
          .value_or(0);
  if (const auto getVariable = findCall<VariableCall>(kernel, "GetFirmwareEnvironmentVariableW")) {
    const SystemEnvironmentPrivilege privilege;
    answers.variableCallExists = true;
    SetLastError(ERROR_SUCCESS);
    getVariable(L"", L"{00000000-0000-0000-0000-000000000000}", nullptr, 0);
    answers.variableError = GetLastError();
  }
  return answers;
}

} // namespace installer
