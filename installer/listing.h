// List mode's output: the four primary entries, then the logical ones numbered from 4, in the
// line shape the front-end reads ("%2d  %02X    %8X    %8X", CR LF).
#pragma once

#include "installer/partition_table.h"
#include "installer/text_buffer.h"

namespace installer {

void appendListingHeading(TextBuffer &out);
void appendListingLine(int number, const PartitionEntry &entry, TextBuffer &out);
void appendListing(const Sector &mbr, const LogicalPartitions &logical, TextBuffer &out);

// The item text bootdeck's disk list shows for this disk: "第" + (disk + 1) + "块介质 : " and the
// summed lengths of the four primary entries of the listing (none without one), in MB below
// 512 MB and in GB from there, with at most four decimals rounded half to even.
void appendListItem(const Sector &mbr, int disk, TextBuffer &out);

} // namespace installer
