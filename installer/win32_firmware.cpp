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

// 0 where the value is missing: only WinPE has it.
std::uint32_t peFirmwareType() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control", 0, KEY_QUERY_VALUE,
                    &key) != ERROR_SUCCESS) {
    return 0;
  }
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  const LONG result = RegQueryValueExW(key, L"PEFirmwareType", nullptr, &type,
                                       reinterpret_cast<BYTE *>(&value), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value ? value : 0;
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
  answers.peFirmwareType = peFirmwareType();
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
