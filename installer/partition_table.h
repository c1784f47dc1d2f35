// Reading the MBR partition table and the chain of extended boot records behind it.
#pragma once

#include "installer/sector.h"

#include <cstddef>
#include <cstdint>

namespace installer {

struct PartitionEntry {
  std::uint8_t status = 0;
  std::uint8_t type = 0;
  std::uint32_t start = 0; // absolute LBA for primary and logical entries
  std::uint32_t length = 0;
  bool used() const { return type != 0 && length != 0; }
};

constexpr std::size_t kPrimaryEntries = 4;
constexpr std::size_t kPartitionTableOffset = 446;
constexpr std::uint8_t kGptProtectiveType = 0xEE;

PartitionEntry primaryEntry(const Sector &mbr, std::size_t index);
bool isExtendedType(std::uint8_t type);
bool hasGptProtectiveEntry(const Sector &mbr);
// Every status byte is 0x00 or 0x80; anything else means the bytes are not a partition table.
bool hasPlausibleStatusBytes(const Sector &mbr);
// A file system's boot sector at LBA 0 of a disk without partition table ("superfloppy").
bool looksLikeVolumeBootSector(const Sector &mbr);
// The lowest start of a used primary entry, or kNoPartition when none is used. A start of 0 is
// reported as it is: such a table claims sector 0 itself.
constexpr std::uint64_t kNoPartition = ~std::uint64_t{0};
std::uint64_t firstPartitionStart(const Sector &mbr);

// Where a logical-partition chain stops; reading it never runs away on a broken chain.
constexpr std::size_t kMaxLogicalPartitions = 128;

class SectorSource {
public:
  virtual bool readSector(std::uint64_t lba, Sector &out) = 0;

protected:
  ~SectorSource() = default;
};

struct LogicalPartitions {
  PartitionEntry entries[kMaxLogicalPartitions];
  std::size_t count = 0;
};

// Follows the extended chain of the first extended primary entry. The walk ends at an unreadable
// or unsigned record, a link outside the extended partition, a record seen before, or the bound.
LogicalPartitions readLogicalPartitions(const Sector &mbr, SectorSource &disk);

} // namespace installer
