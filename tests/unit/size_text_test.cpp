#include "disks/size_text.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct Case {
  double sectors;
  const char *separator;
  const char *number;
  const char *unit;
};

TEST(SizeText, RoundsToFourPlacesHalfToEvenAndSwitchesUnitAt512MB) {
  const Case cases[] = {
      {0, ".", "0", " MB"},
      {64, ".", "0.0312", " MB"},  // 0.03125: tie, 2 is even
      {192, ".", "0.0938", " MB"}, // 0.09375: tie, 7 is odd, goes up
      {1, ".", "0.0005", " MB"},   // 0.00048828125
      {2048, ".", "1", " MB"},
      {3072, ".", "1.5", " MB"},    // trailing zeros dropped
      {2049, ".", "1.0005", " MB"}, // 1.00048828125
      {1048575, ".", "511.9995", " MB"},
      {1048576, ".", "0.5", " GB"},
      {2097152, ".", "1", " GB"},
      {4294967295.0, ".", "2048", " GB"}, // 2047.99999952...: rounding carries into the units
      {2147483648.0, ".", "1024", " GB"},
      {4294967295.0 * 4, ".", "8192", " GB"},
      {1048576 + 64, ".", "0.5", " GB"},     // 0.500030517578125
      {1048576 + 210, ".", "0.5001", " GB"}, // 0.50010013580322265625
      {3072, ",", "1,5", " MB"},
      {1048575, ",", "511,9995", " MB"},
      {2147483648.0 * 1000, ".", "1024000", " GB"}, // no grouping
  };
  for (const Case &c : cases) {
    const bootdeck::DiskSize size = bootdeck::diskSize(c.sectors / 1024, c.separator);
    EXPECT_EQ(c.number, size.number) << c.sectors << " sectors";
    EXPECT_EQ(c.unit, size.unit) << c.sectors << " sectors";
  }
}

TEST(SizeText, RefusesASumNoListingGives) {
  EXPECT_THROW(bootdeck::diskSize(-1, "."), std::invalid_argument);
  EXPECT_THROW(bootdeck::diskSize(0.1 / 1024, "."), std::invalid_argument);
  EXPECT_THROW(bootdeck::diskSize(1e300, "."), std::invalid_argument);
}

} // namespace
