// The boot code's search for the loader, made by the tool on the disk as it will be after the
// install: the same partitions in the same order, the same FAT checks, limits and file name, so
// that the report can say what the next start will do. It only reads.
#pragma once

#include "installer/partition_table.h"
#include "installer/sector.h"

#include <cstddef>
#include <cstdint>

namespace installer {

// The conventional memory that INT 12h reports on a usual PC: 640 KiB less a 1 KiB extended
// BIOS data area. The loader must fit between 2000:0000 and its end.
constexpr std::uint32_t kUsualMemoryKib = 639;

struct PartitionName {
  bool logical = false;
  std::uint32_t number = 0; // primaries by table entry, logicals by their order in the chain
};

// A loader file the search met, and what the boot code does with it.
struct LoaderSeen {
  enum State { Loads, TooBig, Damaged, Empty };
  State state = Loads;
  PartitionName partition;
  int fatBits = 0;
  std::uint32_t size = 0;
};

// A partition the boot code cannot look into: not FAT by its type, or not a FAT volume inside.
struct PartitionPassed {
  PartitionName partition;
  std::uint8_t type = 0;
  bool fatType = false;
};

constexpr std::size_t kMaxSearchedPartitions = kPrimaryEntries + 64;

struct BootSearch {
  // A sector the boot code would read could not be read: the outcome is not known.
  bool unreadable = false;
  std::uint64_t unreadableLba = 0;
  // In search order; when a loader loads, it is the last one.
  LoaderSeen loaders[kMaxSearchedPartitions];
  std::size_t loaderCount = 0;
  PartitionPassed passed[kMaxSearchedPartitions];
  std::size_t passedCount = 0;
  bool activePartition = false;
  // When no loader loads: the floppy is searched next (a loader there starts), then the previous
  // MBR in LBA 1 starts, or the boot code halts.
  bool floppyNext = false;
  bool previousMbrNext = false;
  char loaderName[13] = {}; // as a person writes it: "GRLDR", "A.BIN"

  bool loads() const {
    return loaderCount > 0 && loaders[loaderCount - 1].state == LoaderSeen::Loads;
  }
};

bool isFatPartitionType(std::uint8_t type);

// `disk` shows the disk as the boot code will find it: our sector 0 (its flags, its loader name)
// and LBA 1 as the install leaves them. `memoryKib` is what INT 12h is taken to report.
BootSearch searchLikeBootCode(SectorSource &disk, std::uint32_t memoryKib);

} // namespace installer
