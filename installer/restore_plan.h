// Deciding an uninstall: where the earlier boot code comes from, and whether it may go back.
// The partition table that is on the disk now always stays.
#pragma once

#include "installer/disk.h"
#include "installer/refusal.h"
#include "installer/sector.h"

#include <cstddef>
#include <cstdint>

namespace installer {

// Today's sector 0 must carry an MBR table that the restored code can be put beside: not GPT, not
// a volume's boot sector.
Outcome checkRestoreTarget(const Sector &mbr);

// `size` is the file's length as read, up to one byte more than a sector.
Outcome checkRestoreFile(const std::uint8_t *data, std::size_t size, Sector &source);

// LBA 1 is our backup only while sector 0 holds our code that says it saved one.
Outcome readPreviousMbr(const Sector &mbr, Disk &disk, Sector &source);

} // namespace installer
