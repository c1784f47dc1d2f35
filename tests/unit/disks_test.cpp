#include "disks/backup_name.h"
#include "disks/disk_item.h"
#include "disks/listing.h"
#include "disks/size_text.h"

#include "platform/failure.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Sizes to four places, halves to even, from 512 MB on in GB; in sectors of 512 bytes.
TEST(Disks, SizeTextRoundsHalvesToEvenAndSwitchesToGbAt512Mb) {
  const struct {
    double sectors;
    const char *separator, *text;
  } cases[] = {
      {0, ".", "0 MB"},
      {64, ".", "0.0312 MB"}, // 0.03125: a tie, 2 is even
      {192, ".", "0.0938 MB"},
      {1, ".", "0.0005 MB"}, // 0.09375 up; 0.00048828125
      {3072, ",", "1,5 MB"},
      {2049, ".", "1.0005 MB"},
      {1048575, ".", "511.9995 MB"},
      {1048576, ".", "0.5 GB"},
      {1048576 + 64, ".", "0.5 GB"},
      {1048576 + 210, ".", "0.5001 GB"},
      {4294967295.0, ".", "2048 GB"}, // 2047.99999952: the rounding carries into the units
      {2147483648.0 * 1000, ".", "1024000 GB"},
  };
  for (const auto &c : cases) {
    const bootdeck::DiskSize size = bootdeck::diskSize(c.sectors / 1024, c.separator);
    EXPECT_EQ(c.text, size.number + size.unit) << c.sectors << " sectors";
  }
}

// Only the primary entries (lines numbered 0 to 3) count: their last field, hexadecimal sectors.
TEST(Disks, ListingSumsThePrimaryEntries) {
  EXPECT_FALSE(bootdeck::listingNamesDisk(10));
  EXPECT_TRUE(bootdeck::listingNamesDisk(11));
  const std::pair<std::string, double> sums[] = {
      {"Partition table:\r\n 0  07    0000003F    00000100\r\n 1  0C    3F    200\r\n", 0x300},
      {" 2  05    1000    0400\r\n 4  07    1040    999\r\n12  07    2000    5\r\n", 0x400},
      {"4 not-hex\r\n10 \r\nGRUB\r\n03 40\r\n", 0},
      {" 3 40", 64},
      {"0 1\n4 2", 2},
      {"0 ff\r\n1 000000010", 271},
      {"0 FFFFFFFF", 4294967295.0},
  };
  for (const auto &[text, sectors] : sums)
    EXPECT_EQ(sectors, bootdeck::listingSizeSum(text) * 1024) << text;
  const std::pair<const char *, unsigned long> bad[] = {
      {"0 ", 13}, {"1 0x3F", 13}, {"3 -1", 13}, {"0 100000000", 6}, {"4 x\r\n0 FFFFFFFF0", 6}};
  for (const auto &[text, number] : bad) {
    try {
      bootdeck::listingSizeSum(text);
      ADD_FAILURE() << "no error for \"" << text << "\"";
    } catch (const bootdeck::Failure &failure) {
      EXPECT_EQ(number, failure.number()) << text;
    }
  }
}

// Only the tool's own answers stand: 0 with a listing, or 1 with none for a disk it cannot open.
TEST(Disks, ListingVerdictTrustsOnlyTheToolsOwnAnswers) {
  using bootdeck::ListingVerdict;
  const struct {
    unsigned long exitCode;
    std::uint64_t bytes;
    ListingVerdict verdict;
  } cases[] = {
      {0, 0, ListingVerdict::NoDisk},         {0, 10, ListingVerdict::NoDisk},
      {0, 11, ListingVerdict::Disk},          {0, 65536, ListingVerdict::Disk},
      {0, 65537, ListingVerdict::TooLong},    {1, 0, ListingVerdict::NoDisk},
      {1, 10, ListingVerdict::NoDisk},        {1, 11, ListingVerdict::FailedProbe},
      {1, 65537, ListingVerdict::TooLong},    {2, 0, ListingVerdict::FailedProbe},
      {9009, 0, ListingVerdict::FailedProbe}, {0xC0000005, 200, ListingVerdict::FailedProbe},
  };
  for (const auto &c : cases)
    EXPECT_EQ(c.verdict, bootdeck::listingVerdict(c.exitCode, c.bytes))
        << c.exitCode << ", " << c.bytes << " bytes";
}

TEST(Disks, ItemNumberAndBackupName) {
  EXPECT_EQ("第11块介质 : 1024 GB", bootdeck::diskItemText(10, {"1024", " GB"}));
  EXPECT_EQ(11, bootdeck::itemNumber("第11块介质 : 1024 GB"));
  EXPECT_EQ(10, bootdeck::diskNumberOfItem("第11块介质 : 1024 GB"));
  EXPECT_THROW(bootdeck::itemNumber("1块介质 : 1 MB"), bootdeck::Failure);
  EXPECT_EQ("2026-12-7-3", bootdeck::backupName("2026/12/7", 3));
  EXPECT_EQ("2026年12月7日-11", bootdeck::backupName("2026年12月7日", 11));
  EXPECT_EQ("a-b-c-d-e-f-g-h-i-j-0", bootdeck::backupName("a\\b/c:d*e?f\"g<h>i|j", 0));
}

} // namespace
