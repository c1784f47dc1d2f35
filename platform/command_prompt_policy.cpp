#include "platform/command_prompt_policy.h"

#include "platform/command_interpreter.h"
#include "platform/scoped.h"

#include <windows.h>

#include <optional>

namespace bootdeck {

namespace {

struct RegistryKeyTraits {
  static HKEY invalid() { return nullptr; }
  static void close(HKEY key) { RegCloseKey(key); }
};
using ScopedRegistryKey = Scoped<HKEY, RegistryKeyTraits>;

std::optional<unsigned long> disableCmd(HKEY root) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, L"Software\\Policies\\Microsoft\\Windows\\System", 0, KEY_QUERY_VALUE,
                    &opened) != ERROR_SUCCESS)
    return std::nullopt;
  const ScopedRegistryKey key(opened);
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegQueryValueExW(key.get(), L"DisableCMD", nullptr, &type, reinterpret_cast<BYTE *>(&value),
                       &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return std::nullopt;
  return value;
}

} // namespace

bool commandPromptDisabledByPolicy() {
  return commandPromptDisabled(disableCmd(HKEY_CURRENT_USER), disableCmd(HKEY_LOCAL_MACHINE));
}

} // namespace bootdeck
