#include "platform/twips.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  int twips, dpi, pixels;
};

TEST(Twips, ScaleToDpiRoundingToNearest) {
  const Case cases[] = {
      {7305, 96, 487},  {5310, 96, 354},  {15, 96, 1}, {7, 96, 0},    {8, 96, 1},
      {7305, 144, 731}, {7305, 120, 609}, {0, 96, 0},  {-15, 96, -1}, {1440, 192, 192},
  };
  for (const Case &c : cases)
    EXPECT_EQ(c.pixels, bootdeck::twipsToPixels(c.twips, c.dpi))
        << c.twips << " twips at " << c.dpi << " dpi";
}

} // namespace
