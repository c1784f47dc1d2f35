// The choices one composition reads, taken once from the main window and the advanced-options
// dialog. The defaults are the windows' start values.
#pragma once

#include <string>

namespace bootdeck {

enum class Action { Install, Uninstall };

// Which build of the installer tool runs.
enum class Variant { Mtldr, Grldr };

// The five values of the advanced-options dialog; only an install reads them.
struct AdvancedOptions {
  bool backupToSecondSector = true;   // Check1
  bool floppySearch = true;           // floppysch
  bool fallbackOnInvalidTable = true; // cannotbootpre
  bool installedFirst = true;         // Option11 (false: Option12, the previous MBR first)
  std::string timeOutText = "5";      // Text, seconds before the previous MBR boots
};

struct OptionSet {
  Action action = Action::Install;
  Variant variant = Variant::Mtldr;
  std::string itemText; // the selected disk list item
  std::string fileText; // backup (install) or restore (uninstall) file, relative to the folder
  bool testMode = false;
  AdvancedOptions advanced;
};

} // namespace bootdeck
