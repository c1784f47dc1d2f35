#include "installer/listing.h"

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

} // namespace installer
