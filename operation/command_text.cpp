#include "operation/command_text.h"

namespace bootdeck {

bool isPlainFileName(std::string_view text) {
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= ' ' || std::string_view("\\/:*?\"<>|&^%").find(c) != std::string_view::npos)
      return false;
  }
  return true;
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
