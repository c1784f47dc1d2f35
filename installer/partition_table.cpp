#include "installer/partition_table.h"

#include "installer/bootcode/search_rules.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace installer {

PartitionEntry primaryEntry(const Sector &mbr, std::size_t index) {
  const std::size_t at = kPartitionTableOffset + index * 16;
  PartitionEntry entry;
  entry.status = mbr[at];
  entry.type = mbr[at + 4];
  entry.start = readLe32(mbr, at + 8);
  entry.length = readLe32(mbr, at + 12);
  return entry;
}

bool isExtendedType(std::uint8_t type) {
  return std::count(std::begin(bootcode::kExtendedTypes), std::end(bootcode::kExtendedTypes),
                    type) != 0;
}

bool hasGptProtectiveEntry(const Sector &mbr) {
  for (std::size_t i = 0; i < kPrimaryEntries; ++i) {
    if (primaryEntry(mbr, i).type == kGptProtectiveType) {
      return true;
    }
  }
  return false;
}

bool hasPlausibleStatusBytes(const Sector &mbr) {
  for (std::size_t i = 0; i < kPrimaryEntries; ++i) {
    const std::uint8_t status = primaryEntry(mbr, i).status;
    if (status != 0x00 && status != 0x80) {
      return false;
    }
  }
  return true;
}

bool looksLikeVolumeBootSector(const Sector &mbr) {
  const auto at = [&mbr](std::size_t offset, const char *text) {
    return std::memcmp(mbr.data() + offset, text, std::strlen(text)) == 0;
  };
  return at(3, "NTFS    ") || at(3, "EXFAT   ") || at(54, "FAT12   ") || at(54, "FAT16   ") ||
         at(54, "FAT     ") || at(82, "FAT32   ");
}

std::uint64_t firstPartitionStart(const Sector &mbr) {
  std::uint64_t first = kNoPartition;
  for (std::size_t i = 0; i < kPrimaryEntries; ++i) {
    const PartitionEntry entry = primaryEntry(mbr, i);
    if (entry.used() && entry.start < first) {
      first = entry.start;
    }
  }
  return first;
}

LogicalPartitions readLogicalPartitions(const Sector &mbr, SectorSource &disk) {
  LogicalPartitions result;
  PartitionEntry extended;
  for (std::size_t i = 0; i < kPrimaryEntries && extended.type == 0; ++i) {
    const PartitionEntry entry = primaryEntry(mbr, i);
    if (isExtendedType(entry.type) && entry.used()) {
      extended = entry;
    }
  }
  if (extended.type == 0) {
    return result;
  }

  // Each record yields at most one logical partition, so the bound on records is the same.
  std::uint64_t visited[kMaxLogicalPartitions];
  std::size_t visitedCount = 0;
  std::uint64_t ebr = extended.start;
  Sector record;
  while (visitedCount < kMaxLogicalPartitions) {
    for (std::size_t i = 0; i < visitedCount; ++i) {
      if (visited[i] == ebr) {
        return result;
      }
    }
    visited[visitedCount++] = ebr;
    if (!disk.readSector(ebr, record) || !hasBootSignature(record)) {
      return result;
    }
    const PartitionEntry logical = primaryEntry(record, 0);
    if (logical.used()) {
      const std::uint64_t start = ebr + logical.start;
      if (start > 0xFFFFFFFFu) {
        return result;
      }
      PartitionEntry &out = result.entries[result.count++];
      out = logical;
      out.start = static_cast<std::uint32_t>(start);
    }
    const PartitionEntry link = primaryEntry(record, 1);
    if (!isExtendedType(link.type) || link.start == 0 || link.start >= extended.length) {
      return result;
    }
    ebr = static_cast<std::uint64_t>(extended.start) + link.start;
  }
  return result;
}

} // namespace installer
