// UTF-8 inside, UTF-16 at the Win32 edge. Conversions keep GetLastError intact.
#pragma once

#include <string>
#include <string_view>

namespace bootdeck {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

} // namespace bootdeck
