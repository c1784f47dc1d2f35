#include "disks/probe_command.h"

namespace bootdeck {

std::string listingFilePath(const std::string &appFolder) {
  return appFolder + "\\tempch.tmp";
}

std::string probeCommandLine(const std::string &appFolder, int diskNumber) {
  return "%comspec% /c " + appFolder + "\\mtldrinst.EXE" + " -l " + "(hd" +
         std::to_string(diskNumber) + ") >  " + listingFilePath(appFolder);
}

} // namespace bootdeck
