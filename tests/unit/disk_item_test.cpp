#include "disks/disk_item.h"

#include "platform/failure.h"

#include <gtest/gtest.h>

namespace {

using bootdeck::diskItemText;
using bootdeck::diskNumberOfItem;
using bootdeck::itemNumber;

TEST(DiskItem, TextCarriesTheItemNumberAndSize) {
  EXPECT_EQ("第1块介质 : 0.0312 MB", diskItemText(0, {"0.0312", " MB"}));
  EXPECT_EQ("第3块介质 : 0,5 GB", diskItemText(2, {"0,5", " GB"}));
  EXPECT_EQ("第11块介质 : 2048 GB", diskItemText(10, {"2048", " GB"}));
}

TEST(DiskItem, ReadsBackEveryProbedDisk) {
  for (int disk = 0; disk <= 10; ++disk) {
    // The size digits right after the item number must not be taken for part of it.
    const std::string item = diskItemText(disk, {"1024", " GB"});
    EXPECT_EQ(disk + 1, itemNumber(item)) << item;
    EXPECT_EQ(disk, diskNumberOfItem(item)) << item;
  }
}

TEST(DiskItem, TextWithoutAnItemNumberIsAnError) {
  const char *const bad[] = {"", "第", "第块介质 : 1 MB", "1块介质 : 1 MB", "第 1块介质"};
  for (const char *text : bad) {
    try {
      itemNumber(text);
      ADD_FAILURE() << "no error for \"" << text << "\"";
    } catch (const bootdeck::Failure &e) {
      EXPECT_EQ(13, e.number()) << text;
    }
  }
  EXPECT_THROW(itemNumber("第99999999999块介质"), bootdeck::Failure);
}

} // namespace
