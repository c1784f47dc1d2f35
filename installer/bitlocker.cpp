#include "installer/bitlocker.h"

#include "installer/disk_identity.h"

#include <cstring>

namespace installer {

namespace {

void checkPartition(const PartitionEntry &entry, const char *kind, std::size_t number,
                    SectorSource &disk, TextBuffer &names, std::size_t &found) {
  Sector first;
  if (!disk.readSector(entry.start, first) || !isBitLockerVolume(first)) {
    return;
  }
  names.appendf("%s%s %lu (", found > 0 ? "," : "", kind, static_cast<unsigned long>(number));
  appendSizeText(static_cast<std::uint64_t>(entry.length) * first.size(), names);
  names.append(")");
  ++found;
}

} // namespace

bool isBitLockerVolume(const Sector &first) {
  return std::memcmp(first.data() + 3, "-FVE-FS-", 8) == 0;
}

std::size_t findBitLockerPartitions(const Sector &mbr, SectorSource &disk, TextBuffer &names) {
  std::size_t found = 0;
  for (std::size_t i = 0; i < kPrimaryEntries; ++i) {
    const PartitionEntry entry = primaryEntry(mbr, i);
    if (entry.used() && !isExtendedType(entry.type)) {
      checkPartition(entry, "主分区", i + 1, disk, names, found);
    }
  }
  const LogicalPartitions logical = readLogicalPartitions(mbr, disk);
  for (std::size_t i = 0; i < logical.count; ++i) {
    checkPartition(logical.entries[i], "逻辑分区", i + 1, disk, names, found);
  }
  return found;
}

} // namespace installer
