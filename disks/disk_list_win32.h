// The disk list of the main window: building it, refreshing it and choosing a disk in it.
#pragma once

#include "disks/enumeration.h"

namespace bootdeck {

class MainWindow;

// The main window's platform objects and folder, with the user's decimal separator.
ProbeContext probeContext(MainWindow &window);

// Fills the disk list anew with one item per disk that answers; no item is selected afterwards.
// Shows the wait cursor meanwhile.
void refreshdrive(MainWindow &window);

// The refresh button: the enumeration, then either the end of the program with the no-medium
// message when no disk answered, or the choice of the first disk.
void frashClick(MainWindow &window);

// A disk chosen in the list: the backup name becomes the date, "-" and the item number.
void comboChoosehdClick(MainWindow &window);

// The last step of start-up: the notice of a UEFI start, then the refresh.
void refreshAtStartup(MainWindow &window);

} // namespace bootdeck
