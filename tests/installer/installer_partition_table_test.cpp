#include "installer/listing.h"
#include "installer/partition_table.h"

#include "fake_disk.h"

#include <gtest/gtest.h>

#include <string>

namespace installer {
namespace {

// An extended partition at `ext` whose records sit every 100 sectors, each with one logical.
void buildChain(FakeDisk &disk, Sector &mbr, std::uint32_t ext, int records) {
  putEntry(mbr, 1, 0x0F, ext, 100000);
  for (int i = 0; i < records; ++i) {
    Sector ebr{};
    putEntry(ebr, 0, 0x83, 10, 50);
    if (i + 1 < records) {
      putEntry(ebr, 1, 0x05, static_cast<std::uint32_t>((i + 1) * 100), 100);
    }
    sign(ebr);
    disk.data[ext + static_cast<std::uint32_t>(i) * 100] = ebr;
  }
}

TEST(PartitionTable, FollowsTheChainWithAbsoluteStarts) {
  FakeDisk disk;
  Sector mbr = plainMbr();
  buildChain(disk, mbr, 20000, 3);
  const LogicalPartitions logical = readLogicalPartitions(mbr, disk);
  ASSERT_EQ(logical.count, 3u);
  EXPECT_EQ(logical.entries[0].start, 20010u);
  EXPECT_EQ(logical.entries[2].start, 20210u);
  EXPECT_EQ(logical.entries[2].length, 50u);
}

TEST(PartitionTable, BrokenChainsEnd) {
  struct Case {
    const char *name;
    void (*breakIt)(FakeDisk &, Sector &);
    std::size_t expected;
  };
  const Case cases[] = {
      {"cycle back to the second record",
       [](FakeDisk &d, Sector &) { putEntry(d.data[20200], 1, 0x05, 100, 100); }, 3},
      {"link to itself through offset zero",
       [](FakeDisk &d, Sector &) { putEntry(d.data[20100], 1, 0x05, 0, 100); }, 2},
      {"unsigned record", [](FakeDisk &d, Sector &) { d.data[20100][510] = 0; }, 1},
      {"unreadable record", [](FakeDisk &d, Sector &) { d.failReads.insert(20200); }, 2},
      {"link beyond the extended partition",
       [](FakeDisk &d, Sector &) { putEntry(d.data[20000], 1, 0x05, 200000, 100); }, 1},
      {"logical start beyond 32 bits",
       [](FakeDisk &d, Sector &m) {
         putEntry(m, 1, 0x0F, 0xFFFFFF00u, 0xFF);
         Sector ebr{};
         putEntry(ebr, 0, 0x83, 0x200, 10);
         sign(ebr);
         d.data[0xFFFFFF00u] = ebr;
       },
       0},
  };
  for (const Case &c : cases) {
    FakeDisk disk(1ull << 33);
    Sector mbr = plainMbr();
    buildChain(disk, mbr, 20000, 3);
    c.breakIt(disk, mbr);
    EXPECT_EQ(readLogicalPartitions(mbr, disk).count, c.expected) << c.name;
  }
}

TEST(PartitionTable, AbsurdDepthIsBounded) {
  FakeDisk disk;
  Sector mbr = plainMbr();
  buildChain(disk, mbr, 20000, 300);
  const LogicalPartitions logical = readLogicalPartitions(mbr, disk);
  EXPECT_EQ(logical.count, kMaxLogicalPartitions);
  EXPECT_LE(disk.reads, static_cast<int>(kMaxLogicalPartitions));
}

TEST(PartitionTable, NoExtendedPartitionReadsNothing) {
  FakeDisk disk;
  EXPECT_EQ(readLogicalPartitions(plainMbr(), disk).count, 0u);
  EXPECT_EQ(disk.reads, 0);
}

TEST(PartitionTable, SectorZeroChecks) {
  Sector gpt = plainMbr();
  putEntry(gpt, 0, 0xEE, 1, 0xFFFFFFFF);
  EXPECT_TRUE(hasGptProtectiveEntry(gpt));
  EXPECT_FALSE(hasGptProtectiveEntry(plainMbr()));

  Sector garbage = plainMbr();
  garbage[446 + 16] = 0x12;
  EXPECT_FALSE(hasPlausibleStatusBytes(garbage));
  EXPECT_TRUE(hasPlausibleStatusBytes(plainMbr()));

  Sector fat32 = plainMbr();
  std::memcpy(fat32.data() + 82, "FAT32   ", 8);
  EXPECT_TRUE(looksLikeVolumeBootSector(fat32));
  Sector ntfs = plainMbr();
  std::memcpy(ntfs.data() + 3, "NTFS    ", 8);
  EXPECT_TRUE(looksLikeVolumeBootSector(ntfs));
  EXPECT_FALSE(looksLikeVolumeBootSector(plainMbr()));
}

TEST(PartitionTable, FirstPartitionIgnoresEmptyEntries) {
  Sector mbr = plainMbr(4096);
  putEntry(mbr, 2, 0x83, 63, 0);    // no length: unused
  putEntry(mbr, 3, 0x83, 1000, 10); // lower start, later entry
  EXPECT_EQ(firstPartitionStart(mbr), 1000u);
  Sector empty{};
  sign(empty);
  EXPECT_EQ(firstPartitionStart(empty), kNoPartition);
}

TEST(Listing, LinesHaveTheFixedShape) {
  Sector mbr{};
  putEntry(mbr, 0, 0x07, 2048, 0x80000000u);
  putEntry(mbr, 1, 0x83, 0x80000800u, 0xFFFFFFFFu);
  sign(mbr);
  LogicalPartitions logical;
  logical.entries[0].type = 0x0B;
  logical.entries[0].start = 0x5000;
  logical.entries[0].length = 0xB000;
  logical.count = 1;
  TextBuffer text;
  appendListing(mbr, logical, text);
  EXPECT_EQ(std::string(text.c_str()), " 0  07         800    80000000\r\n"
                                       " 1  83    80000800    FFFFFFFF\r\n"
                                       " 2  00           0           0\r\n"
                                       " 3  00           0           0\r\n"
                                       " 4  0B        5000        B000\r\n");
}

TEST(Listing, HeadingIsNotAnEntryLine) {
  TextBuffer text;
  appendListingHeading(text);
  const std::string heading(text.c_str());
  EXPECT_GT(heading.size(), 10u);
  const std::string start = heading.substr(0, 2);
  EXPECT_EQ(start.find_first_of("0123"), std::string::npos);
  EXPECT_EQ(heading.substr(heading.size() - 2), "\r\n");
}

} // namespace
} // namespace installer
