#include "installer/partition_table.h"

#include "fake_disk.h"

#include <gtest/gtest.h>

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

// The listing of real images is compared with sfdisk's reading (tool_cases.py); these are the
// chains no partitioning tool makes.
TEST(PartitionTable, ChainsEndWhereTheyBreak) {
  const struct {
    const char *name;
    void (*breakIt)(FakeDisk &, Sector &);
    std::size_t expected;
  } cases[] = {
      {"intact", [](FakeDisk &, Sector &) {}, 3},
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
  for (const auto &c : cases) {
    FakeDisk disk(1ull << 33);
    Sector mbr = plainMbr();
    buildChain(disk, mbr, 20000, 3);
    c.breakIt(disk, mbr);
    const LogicalPartitions logical = readLogicalPartitions(mbr, disk);
    ASSERT_EQ(logical.count, c.expected) << c.name;
    if (c.expected == 3) {
      EXPECT_EQ(logical.entries[2].start, 20210u) << c.name;
      EXPECT_EQ(logical.entries[2].length, 50u) << c.name;
    }
  }
}

TEST(PartitionTable, DepthIsBoundedAndNoExtendedReadsNothing) {
  FakeDisk disk;
  EXPECT_EQ(readLogicalPartitions(plainMbr(), disk).count, 0u);
  EXPECT_EQ(disk.reads, 0);
  Sector mbr = plainMbr();
  buildChain(disk, mbr, 20000, 300);
  EXPECT_EQ(readLogicalPartitions(mbr, disk).count, kMaxLogicalPartitions);
  EXPECT_LE(disk.reads, static_cast<int>(kMaxLogicalPartitions));
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

} // namespace
} // namespace installer
