#include "platform/app_folder.h"

#include "platform/system_error.h"
#include "platform/utf.h"

#include <windows.h>

namespace bootdeck {

namespace {

std::wstring modulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0)
      throw lastErrorFailure();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

} // namespace

std::string appFolder() {
  std::wstring folder = modulePath();
  folder.erase(folder.find_last_of(L'\\'));
  if (folder.size() == 2 && folder[1] == L':')
    folder += L'\\';
  return narrow(folder);
}

} // namespace bootdeck
