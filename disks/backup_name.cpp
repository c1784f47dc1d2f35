#include "disks/backup_name.h"

#include <string_view>

namespace bootdeck {

std::string fileNameSafe(std::string text) {
  for (char &c : text)
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
      c = '-';
  return text;
}

std::string backupName(const std::string &dateText, int itemNumber) {
  return fileNameSafe(dateText) + "-" + std::to_string(itemNumber);
}

} // namespace bootdeck
