#include "disks/disk_item.h"

#include "platform/failure.h"

#include <gtest/gtest.h>

namespace {

// The item texts themselves are checked where the enumeration builds them.
TEST(DiskItem, ItemNumberIsEveryDigitAfterTheMark) {
  for (int disk = 0; disk <= 10; ++disk) {
    // The size digits right after the item number must not be taken for part of it.
    const std::string item = bootdeck::diskItemText(disk, {"1024", " GB"});
    EXPECT_EQ(disk + 1, bootdeck::itemNumber(item)) << item;
    EXPECT_EQ(disk, bootdeck::diskNumberOfItem(item)) << item;
  }
  const std::pair<const char *, unsigned long> bad[] = {{"", 13},
                                                        {"第", 13},
                                                        {"第块介质 : 1 MB", 13},
                                                        {"1块介质 : 1 MB", 13},
                                                        {"第 1块介质", 13},
                                                        {"第99999999999块介质", 6}};
  for (const auto &[text, number] : bad) {
    try {
      bootdeck::itemNumber(text);
      ADD_FAILURE() << "no error for \"" << text << "\"";
    } catch (const bootdeck::Failure &e) {
      EXPECT_EQ(number, e.number()) << text;
    }
  }
}

} // namespace
