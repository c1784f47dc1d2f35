#include "platform/system_error.h"

#include "platform/utf.h"

#include <windows.h>

namespace bootdeck {

std::string systemErrorText(unsigned long number) {
  wchar_t *buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, number, 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
  std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
    text.pop_back();
  if (text.empty())
    return "系统没有提供错误 " + std::to_string(number) + " 的说明.";
  return narrow(text);
}

Failure lastErrorFailure(const std::string &file) {
  const DWORD number = GetLastError();
  return Failure(number, systemErrorText(number), file);
}

} // namespace bootdeck
