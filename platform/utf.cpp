#include "platform/utf.h"

#include <windows.h>

namespace bootdeck {

std::wstring widen(std::string_view utf8) {
  const DWORD saved = GetLastError();
  std::wstring out;
  if (!utf8.empty()) {
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    out.resize(static_cast<size_t>(length));
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, &out[0], length);
  }
  SetLastError(saved);
  return out;
}

std::string narrow(std::wstring_view utf16) {
  const DWORD saved = GetLastError();
  std::string out;
  if (!utf16.empty()) {
    const int size = static_cast<int>(utf16.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    out.resize(static_cast<size_t>(length));
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, &out[0], length, nullptr, nullptr);
  }
  SetLastError(saved);
  return out;
}

} // namespace bootdeck
