#include "operation/command_text.h"

#include <algorithm>

namespace bootdeck {

bool isPlainFileName(std::string_view text) {
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= ' ' || std::string_view("\\/:*?\"<>|&^%").find(c) != std::string_view::npos)
      return false;
  }
  return true;
}

std::string deviceNameIn(std::string_view text) {
  std::string base(text.substr(0, text.find('.')));
  for (char &c : base)
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  for (const char *device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
    if (base == device)
      return base;
  const std::string_view port = std::string_view(base).substr(0, 3);
  const std::string_view number = std::string_view(base).substr(std::min<size_t>(3, base.size()));
  const bool digit = number.size() == 1 && number[0] >= '1' && number[0] <= '9';
  // Windows reads the superscripts of its ANSI code pages as the digits 1 to 3.
  const bool superscript = number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3";
  if ((port == "COM" || port == "LPT") && (digit || superscript))
    return base;
  return {};
}

bool endsInDot(std::string_view text) {
  return !text.empty() && text.back() == '.';
}

bool isTimeOutSeconds(std::string_view text) {
  if (text.empty() || text.size() > 3)
    return false;
  int seconds = 0;
  for (char c : text) {
    if (c < '0' || c > '9')
      return false;
    seconds = seconds * 10 + (c - '0');
  }
  return seconds <= 255;
}

} // namespace bootdeck
