// A DWORD value of the registry, read through a key that is closed however the read ends. Header
// only: the installer tool, which links no platform library, reads one too.
#pragma once

#include "platform/scoped.h"

#include <windows.h>

#include <optional>

namespace bootdeck {

struct RegistryKeyTraits {
  static HKEY invalid() { return nullptr; }
  static void close(HKEY key) { RegCloseKey(key); }
};
using ScopedRegistryKey = Scoped<HKEY, RegistryKeyTraits>;

// Nothing where the key or the value is missing, or the value is not a REG_DWORD.
inline std::optional<DWORD> registryDword(HKEY root, const wchar_t *subKey, const wchar_t *name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, subKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return std::nullopt;
  const ScopedRegistryKey key(opened);
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE *>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    return std::nullopt;
  return value;
}

} // namespace bootdeck
