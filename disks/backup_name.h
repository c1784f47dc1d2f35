// The proposed name of the MBR backup (install) or restore (uninstall) file.
#pragma once

#include <string>

namespace bootdeck {

// `text` with each character a Windows file name cannot hold (\ / : * ? " < > |) made "-".
std::string fileNameSafe(std::string text);

// The short date made a valid file name, "-", the item number (0 before any disk is chosen).
std::string backupName(const std::string &dateText, int itemNumber);

} // namespace bootdeck
