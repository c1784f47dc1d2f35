// BitLocker volumes on the disk. On a machine that starts through BIOS with a TPM, the TPM
// measures the MBR: once it changes, Windows asks for the recovery key at the next start.
#pragma once

#include "installer/partition_table.h"
#include "installer/text_buffer.h"

#include <cstddef>

namespace installer {

// The signature "-FVE-FS-" at offset 3 of a volume's first sector, every byte of it.
bool isBitLockerVolume(const Sector &first);

// Reads the first sector of every primary and logical partition (the logical ones through the
// bounded chain walk); an unreadable one is passed over. Appends the BitLocker ones to `names`
// ("主分区 1 (2 MB),逻辑分区 2 (2 MB)") and returns how many there are.
std::size_t findBitLockerPartitions(const Sector &mbr, SectorSource &disk, TextBuffer &names);

} // namespace installer
