// The command line that lists one disk's partition table into the listing file.
#pragma once

#include <string>

namespace bootdeck {

// The BIOS disk numbers probed, in this order.
constexpr int kFirstProbedDisk = 0;
constexpr int kLastProbedDisk = 10;

// appFolder + "\tempch.tmp": where a probe's standard output lands.
std::string listingFilePath(const std::string &appFolder);

// "%comspec% /c <folder>\mtldrinst.EXE -l (hdN) >  <folder>\tempch.tmp", unquoted; the
// application folder never holds a blank (start-up refuses one).
std::string probeCommandLine(const std::string &appFolder, int diskNumber);

} // namespace bootdeck
