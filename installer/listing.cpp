#include "installer/listing.h"

#include "installer/boot_record.h"

#include <cstdint>

namespace installer {

void appendListingHeading(TextBuffer &out) {
  out.append("No  ID       Start      Length\r\n");
}

void appendListingLine(int number, const PartitionEntry &entry, TextBuffer &out) {
  out.appendf("%2d  %02X    %8X    %8X\r\n", number, static_cast<unsigned>(entry.type),
              static_cast<unsigned>(entry.start), static_cast<unsigned>(entry.length));
}

void appendListing(const Sector &mbr, const LogicalPartitions &logical, TextBuffer &out) {
  for (std::size_t i = 0; i < kPrimaryEntries; ++i) {
    appendListingLine(static_cast<int>(i), primaryEntry(mbr, i), out);
  }
  for (std::size_t i = 0; i < logical.count; ++i) {
    appendListingLine(static_cast<int>(kPrimaryEntries + i), logical.entries[i], out);
  }
}

void appendListItem(const Sector &mbr, int disk, TextBuffer &out) {
  std::uint64_t sectors = 0;
  // Only what list mode writes counts: no entries without a table.
  if (hasBootSignature(mbr) && !looksLikeVolumeBootSector(mbr)) {
    for (std::size_t i = 0; i < kPrimaryEntries; ++i) {
      sectors += primaryEntry(mbr, i).length;
    }
  }
  // MB = sectors / 2^11, GB = sectors / 2^21; the remainder is compared exactly with one half.
  const unsigned shift = sectors < (std::uint64_t{1} << 20) ? 11 : 21;
  const std::uint64_t mask = (std::uint64_t{1} << shift) - 1;
  auto whole = static_cast<unsigned long>(sectors >> shift);
  const std::uint64_t scaled = (sectors & mask) * 10000;
  auto fraction = static_cast<unsigned long>(scaled >> shift);
  const std::uint64_t twiceRest = (scaled & mask) * 2;
  if (twiceRest > mask + 1 || (twiceRest == mask + 1 && fraction % 2 == 1)) {
    ++fraction;
  }
  if (fraction == 10000) {
    ++whole;
    fraction = 0;
  }
  out.appendf("第%d块介质 : %lu", disk + 1, whole);
  if (fraction != 0) {
    int places = 4;
    for (; fraction % 10 == 0; fraction /= 10) {
      --places;
    }
    out.appendf(".%0*lu", places, fraction);
  }
  out.append(shift == 11 ? " MB" : " GB");
}

} // namespace installer
