// List mode's output: the four primary entries, then the logical ones numbered from 4, in the
// line shape the front-end reads ("%2d  %02X    %8X    %8X", CR LF).
#pragma once

#include "installer/partition_table.h"
#include "installer/text_buffer.h"

namespace installer {

void appendListingHeading(TextBuffer &out);
void appendListingLine(int number, const PartitionEntry &entry, TextBuffer &out);
void appendListing(const Sector &mbr, const LogicalPartitions &logical, TextBuffer &out);

} // namespace installer
