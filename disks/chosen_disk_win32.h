// The chosen disk checked once more just before a tool run: BIOS disk numbers shift when a disk
// is plugged in or removed after the list was built, and the chosen item would then name another
// disk.
#pragma once

namespace bootdeck {

class MainWindow;

// Probes the disk of the selected item again and compares the item text it would get now with
// the selected item's text. When they differ or the disk no longer answers, tells the user that
// the disks have changed and returns false: nothing may run. The probe's listing file is removed
// afterwards.
bool confirmChosenDiskUnchanged(MainWindow &window);

} // namespace bootdeck
