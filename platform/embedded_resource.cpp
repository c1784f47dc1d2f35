#include "platform/embedded_resource.h"

#include "platform/system_error.h"

#include <windows.h>

namespace bootdeck {

ResourceBytes loadCustomResource(int id) {
  HRSRC info = FindResourceW(nullptr, MAKEINTRESOURCEW(id), L"CUSTOM");
  if (!info)
    throw lastErrorFailure();
  HGLOBAL loaded = LoadResource(nullptr, info);
  if (!loaded)
    throw lastErrorFailure();
  const void *data = LockResource(loaded);
  if (!data)
    throw lastErrorFailure();
  return {static_cast<const unsigned char *>(data), SizeofResource(nullptr, info)};
}

} // namespace bootdeck
