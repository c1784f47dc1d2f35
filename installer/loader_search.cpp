#include "installer/loader_search.h"

#include "installer/boot_record.h"
#include "installer/bootcode/bootcode_layout.h"
#include "installer/bootcode/search_rules.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace installer {

namespace {

// LBA sums past this are skipped by the boot code, as by the listing.
constexpr std::uint64_t kLastLba = 0xFFFFFFFFu;
constexpr std::uint32_t kFat12MaxClusters = 4085;
constexpr std::uint32_t kFat16MaxClusters = 65525;
constexpr std::size_t kDirEntry = 32;

std::uint32_t readLe16(const Sector &s, std::size_t offset) {
  return static_cast<std::uint32_t>(s[offset]) | static_cast<std::uint32_t>(s[offset + 1]) << 8;
}

// A FAT volume as the boot code reads its boot sector.
struct Volume {
  std::uint64_t start = 0;
  int bits = 0;
  std::uint32_t clusterSectors = 0;
  std::uint64_t fatLba = 0;
  std::uint64_t rootLba = 0;
  std::uint32_t rootSectors = 0;
  std::uint32_t rootCluster = 0;
  std::uint64_t dataLba = 0;
  std::uint32_t maxCluster = 0;
};

bool readVolume(std::uint64_t start, const Sector &boot, Volume &v) {
  const std::uint32_t clusterSectors = boot[13];
  const std::uint32_t reserved = readLe16(boot, 14);
  const std::uint32_t fats = boot[16];
  if (!hasBootSignature(boot) || readLe16(boot, 11) != bootcode::kSectorSize ||
      clusterSectors == 0 || (clusterSectors & (clusterSectors - 1)) != 0 || reserved == 0 ||
      fats == 0) {
    return false;
  }
  const std::uint32_t fatSectors =
      readLe16(boot, 22) != 0 ? readLe16(boot, 22) : readLe32(boot, 36);
  const std::uint64_t rootOffset = reserved + static_cast<std::uint64_t>(fatSectors) * fats;
  v.rootSectors = (readLe16(boot, 17) + 15) / 16;
  const std::uint64_t dataOffset = rootOffset + v.rootSectors;
  const std::uint32_t total = readLe16(boot, 19) != 0 ? readLe16(boot, 19) : readLe32(boot, 32);
  if (total <= dataOffset || start + dataOffset > kLastLba) {
    return false;
  }
  const std::uint32_t clusters = static_cast<std::uint32_t>((total - dataOffset) / clusterSectors);
  v.start = start;
  v.clusterSectors = clusterSectors;
  v.fatLba = start + reserved;
  v.rootLba = start + rootOffset;
  v.dataLba = start + dataOffset;
  v.maxCluster = clusters + 1;
  // A 16-bit FAT size of 0 is FAT32's mark, whatever the count of clusters.
  v.bits = readLe16(boot, 22) == 0            ? 32
           : clusters < kFat12MaxClusters + 1 ? 12
           : clusters < kFat16MaxClusters + 1 ? 16
                                              : 32;
  if (v.bits == 32) {
    if ((boot[40] & 0x80) != 0) { // mirroring off: only the FAT named in bits 0..3 is live
      const std::uint32_t active = boot[40] & 0x0F;
      if (active >= fats) {
        return false;
      }
      v.fatLba += static_cast<std::uint64_t>(active) * fatSectors;
    }
    v.rootCluster = readLe32(boot, 44);
  }
  return true;
}

class Search {
public:
  Search(SectorSource &disk, std::uint32_t memoryKib, BootSearch &result)
      : disk_(disk), memoryKib_(memoryKib), result_(result) {}

  void run();

private:
  enum class Next { Go, Stop }; // Stop: a loader loads, or the outcome is not known
  bool read(std::uint64_t lba, Sector &out);
  Next tryVolume(std::uint64_t start, PartitionName name, std::uint8_t type);
  Next scanRoot(const Volume &v, PartitionName name);
  Next load(const Volume &v, const std::uint8_t *entry, PartitionName name);
  // The object being walked: a cluster chain, or the fixed root folder when cluster_ is 0.
  bool openChain(const Volume &v, std::uint32_t cluster);
  // As many of `wanted` sectors as follow each other; false at the object's end (or unread).
  bool nextSectors(const Volume &v, std::uint32_t wanted, std::uint64_t &lba, std::uint32_t &count);
  bool nextCluster(const Volume &v, std::uint32_t &cluster);
  void pass(PartitionName name, std::uint8_t type, bool fatType);
  Next note(LoaderSeen::State state, const Volume &v, PartitionName name, std::uint32_t size);

  SectorSource &disk_;
  std::uint32_t memoryKib_;
  BootSearch &result_;
  std::uint8_t loaderName_[bootcode::kLoaderNameBytes] = {};
  std::uint32_t cluster_ = 0;
  std::uint64_t objectLba_ = 0;
  std::uint64_t objectLeft_ = 0;
};

bool Search::read(std::uint64_t lba, Sector &out) {
  if (result_.unreadable) {
    return false;
  }
  if (lba > kLastLba || !disk_.readSector(lba, out)) {
    result_.unreadable = true;
    result_.unreadableLba = lba;
    return false;
  }
  return true;
}

void Search::pass(PartitionName name, std::uint8_t type, bool fatType) {
  PartitionPassed &p = result_.passed[result_.passedCount++];
  p.partition = name;
  p.type = type;
  p.fatType = fatType;
}

Search::Next Search::note(LoaderSeen::State state, const Volume &v, PartitionName name,
                          std::uint32_t size) {
  LoaderSeen &seen = result_.loaders[result_.loaderCount++];
  seen.state = state;
  seen.partition = name;
  seen.fatBits = v.bits;
  seen.size = size;
  return state == LoaderSeen::Loads ? Next::Stop : Next::Go;
}

bool Search::openChain(const Volume &v, std::uint32_t cluster) {
  if (cluster < 2 || cluster > v.maxCluster) {
    return false;
  }
  cluster_ = cluster;
  objectLba_ = v.dataLba + static_cast<std::uint64_t>(cluster - 2) * v.clusterSectors;
  objectLeft_ = v.clusterSectors;
  return true;
}

bool Search::nextCluster(const Volume &v, std::uint32_t &cluster) {
  const std::uint64_t offset = v.bits == 12   ? cluster + cluster / 2
                               : v.bits == 16 ? cluster * 2ull
                                              : cluster * 4ull;
  // Two sectors a read, as the boot code reads them: a FAT12 entry may straddle them.
  Sector fat[2];
  const std::uint64_t lba = v.fatLba + offset / bootcode::kSectorSize;
  if (!read(lba, fat[0]) || !read(lba + 1, fat[1])) {
    return false;
  }
  std::uint8_t bytes[2 * bootcode::kSectorSize];
  std::memcpy(bytes, fat[0].data(), fat[0].size());
  std::memcpy(bytes + fat[0].size(), fat[1].data(), fat[1].size());
  const std::uint8_t *at = bytes + offset % bootcode::kSectorSize;
  const std::uint32_t value = at[0] | at[1] << 8 | static_cast<std::uint32_t>(at[2]) << 16 |
                              static_cast<std::uint32_t>(at[3]) << 24;
  cluster = v.bits == 12   ? ((cluster & 1) != 0 ? value >> 4 : value) & 0x0FFF
            : v.bits == 16 ? value & 0xFFFF
                           : value & 0x0FFFFFFF;
  return true;
}

bool Search::nextSectors(const Volume &v, std::uint32_t wanted, std::uint64_t &lba,
                         std::uint32_t &count) {
  if (objectLeft_ == 0) {
    std::uint32_t cluster = cluster_;
    if (cluster == 0 || !nextCluster(v, cluster) || !openChain(v, cluster)) {
      return false;
    }
  }
  count = static_cast<std::uint32_t>(std::min<std::uint64_t>(wanted, objectLeft_));
  lba = objectLba_;
  objectLba_ += count;
  objectLeft_ -= count;
  return true;
}

Search::Next Search::load(const Volume &v, const std::uint8_t *entry, PartitionName name) {
  const std::int64_t room =
      static_cast<std::int64_t>(memoryKib_) * 1024 - bootcode::kLoaderSegment * 16;
  const std::uint32_t size = entry[28] | entry[29] << 8 |
                             static_cast<std::uint32_t>(entry[30]) << 16 |
                             static_cast<std::uint32_t>(entry[31]) << 24;
  if (room <= 0 || (size != 0 && size > room)) {
    return note(LoaderSeen::TooBig, v, name, size);
  }
  if (size == 0) {
    return note(LoaderSeen::Empty, v, name, size);
  }
  const std::uint32_t high = v.bits == 32 ? (entry[20] | entry[21] << 8) : 0;
  if (!openChain(v, high << 16 | entry[26] | entry[27] << 8)) {
    return note(LoaderSeen::Damaged, v, name, size);
  }
  // Each sector is read as the boot code reads it: one that cannot be leaves the outcome open.
  Sector sector;
  for (std::uint32_t left = (size + 511) / 512; left > 0;) {
    std::uint64_t lba = 0;
    std::uint32_t count = 0;
    if (!nextSectors(v, left, lba, count)) {
      return result_.unreadable ? Next::Stop : note(LoaderSeen::Damaged, v, name, size);
    }
    for (std::uint32_t i = 0; i < count; ++i) {
      if (!read(lba + i, sector)) {
        return Next::Stop;
      }
    }
    left -= count;
  }
  return note(LoaderSeen::Loads, v, name, size);
}

Search::Next Search::scanRoot(const Volume &v, PartitionName name) {
  if (v.bits == 32) {
    if (!openChain(v, v.rootCluster)) {
      return Next::Go;
    }
  } else {
    cluster_ = 0;
    objectLba_ = v.rootLba;
    objectLeft_ = v.rootSectors;
  }
  Sector folder;
  for (std::uint32_t n = 0; n < bootcode::kMaxRootSectors; ++n) {
    std::uint64_t lba = 0;
    std::uint32_t count = 0;
    if (!nextSectors(v, 1, lba, count) || !read(lba, folder)) {
      break;
    }
    for (std::size_t at = 0; at < folder.size(); at += kDirEntry) {
      const std::uint8_t *entry = folder.data() + at;
      if (entry[0] == 0) { // the folder's end
        return Next::Go;
      }
      // Folders, volume labels and long-name parts are no file.
      if ((entry[11] & 0x18) == 0 && std::memcmp(entry, loaderName_, sizeof loaderName_) == 0) {
        return load(v, entry, name);
      }
    }
  }
  return result_.unreadable ? Next::Stop : Next::Go;
}

Search::Next Search::tryVolume(std::uint64_t start, PartitionName name, std::uint8_t type) {
  Sector boot;
  if (!read(start, boot)) {
    return Next::Stop;
  }
  Volume v;
  if (!readVolume(start, boot, v)) {
    pass(name, type, true);
    return Next::Go;
  }
  return scanRoot(v, name);
}

void Search::run() {
  Sector mbr;
  if (!read(0, mbr)) {
    return;
  }
  std::memcpy(loaderName_, mbr.data() + bootcode::kLoaderNameOffset, sizeof loaderName_);
  for (std::size_t i = 0, out = 0; i < sizeof loaderName_; ++i) {
    if (loaderName_[i] != ' ') {
      if (i == 8) {
        result_.loaderName[out++] = '.';
      }
      result_.loaderName[out++] = static_cast<char>(loaderName_[i]);
    }
  }
  const std::uint8_t flags = mbr[bootcode::kFlagsOffset];
  result_.floppyNext = (flags & bootcode::kNoFloppySearch) == 0;

  PartitionEntry extended;
  bool hasExtended = false;
  for (std::size_t i = 0; i < kPrimaryEntries && hasBootSignature(mbr); ++i) {
    const PartitionEntry entry = primaryEntry(mbr, i);
    const PartitionName name{false, static_cast<std::uint32_t>(i + 1)};
    result_.activePartition |= entry.used() && entry.status == 0x80;
    if (isFatPartitionType(entry.type)) {
      if (tryVolume(entry.start, name, entry.type) == Next::Stop) {
        return;
      }
    } else if (isExtendedType(entry.type)) {
      if (!hasExtended) {
        extended = entry;
        hasExtended = true;
      }
    } else if (entry.used()) {
      pass(name, entry.type, false);
    }
  }

  std::uint64_t ebr = hasExtended ? extended.start : 0;
  std::uint32_t logical = 0;
  Sector record;
  for (std::uint32_t n = 0; n < bootcode::kMaxExtendedRecords && ebr != 0; ++n) {
    if (!read(ebr, record)) {
      return;
    }
    if (!hasBootSignature(record)) {
      break;
    }
    const PartitionEntry entry = primaryEntry(record, 0);
    if (entry.type != 0) {
      ++logical;
    }
    const PartitionName name{true, logical};
    if (isFatPartitionType(entry.type)) {
      if (entry.start != 0 && ebr + entry.start <= kLastLba &&
          tryVolume(ebr + entry.start, name, entry.type) == Next::Stop) {
        return;
      }
    } else if (entry.used()) {
      pass(name, entry.type, false);
    }
    const PartitionEntry link = primaryEntry(record, 1);
    if (!isExtendedType(link.type) || link.start == 0) {
      break;
    }
    ebr = static_cast<std::uint64_t>(extended.start) + link.start;
    if (ebr > kLastLba) {
      break;
    }
  }

  // No loader loads: after the floppy, the previous MBR, if it is saved, allowed and usable.
  Sector previous;
  if ((flags & (bootcode::kNoPreviousMbr | bootcode::kPreviousMbrSaved)) ==
          bootcode::kPreviousMbrSaved &&
      read(bootcode::kPreviousMbrLba, previous)) {
    result_.previousMbrNext = hasBootSignature(previous) && !isOurBootCode(previous);
  }
}

} // namespace

bool isFatPartitionType(std::uint8_t type) {
  const auto plain = static_cast<std::uint8_t>(type & ~bootcode::kHiddenTypeBit);
  return std::count(std::begin(bootcode::kFatTypes), std::end(bootcode::kFatTypes), plain) != 0;
}

BootSearch searchLikeBootCode(SectorSource &disk, std::uint32_t memoryKib) {
  BootSearch result;
  Search(disk, memoryKib, result).run();
  return result;
}

} // namespace installer
