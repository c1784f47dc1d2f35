#include "disks/listing.h"

#include "platform/failure.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using bootdeck::listingSizeSum;

// One line in the tool's shape: "%2d  %02X    %8X    %8X".
std::string entry(int number, unsigned length) {
  char line[64];
  std::snprintf(line, sizeof line, "%2d  %02X    %8X    %8X\r\n", number, 7, 63u, length);
  return line;
}

TEST(Listing, CountsOnlyThePrimaryEntries) {
  EXPECT_FALSE(bootdeck::listingNamesDisk(10));
  EXPECT_TRUE(bootdeck::listingNamesDisk(11));
  const struct {
    const char *name;
    std::string text;
    double sectors;
  } cases[] = {
      {"empty", "", 0},
      {"no line 0-3", entry(4, 100) + entry(5, 200), 0},
      {"four primaries", entry(0, 0x100) + entry(1, 0x200) + entry(2, 0x400) + entry(3, 0x800),
       0xF00},
      {"logicals skipped", entry(0, 2048) + entry(4, 999) + entry(12, 5), 2048},
      {"heading skipped", "Partition table:\r\n" + entry(1, 64), 64},
      {"uncounted lines never read", "4 not-hex\r\n10 \r\nGRUB\r\n", 0},
      {"blank then 3", " 3 40", 64},
      {"3 then blank", "3 40", 64},
      {"single 3", "3", 3},
      {"blank then 4", " 4 40", 0},
      {"10", "10 40", 0},
      {"12", "12 40", 0},
      {"two-digit prefix 03 is not a number 0-3", "03 40", 0},
      {"lone LF does not end a line", "0 1\n4 2", 2},
      {"lower-case hex", "0 ff", 255},
      {"leading zeros", "0 000000010", 16},
      {"last of several fields", "2  0C    abc    20", 32},
      {"largest entry", "0 FFFFFFFF", 4294967295.0},
      {"2^31 sectors", "1 80000000", 2147483648.0},
  };
  for (const auto &c : cases)
    EXPECT_EQ(c.sectors, listingSizeSum(c.text) * 1024) << c.name;
}

TEST(Listing, BadLengthOfACountedLineIsAnError) {
  const std::pair<const char *, int> cases[] = {
      {"0 ", 13},         {"0 3F ", 13},      {"1 0x3F", 13},
      {"2 3G", 13},       {"3 -1", 13},       {"0 1\r\n1 12\t", 13},
      {"0 100000000", 6}, {"0 FFFFFFFFF", 6}, {"4 x\r\n0 FFFFFFFF0", 6},
  };
  for (const auto &[text, number] : cases) {
    try {
      listingSizeSum(text);
      ADD_FAILURE() << "no error for \"" << text << "\"";
    } catch (const bootdeck::Failure &e) {
      EXPECT_EQ(number, e.number()) << text;
      EXPECT_STRNE("", e.what());
    }
  }
}

} // namespace
