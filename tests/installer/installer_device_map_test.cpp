#include "installer/device_map.h"

#include <gtest/gtest.h>

#include <string>

namespace installer {
namespace {

TEST(DeviceMap, FindsEachDiskOnItsOwnLine) {
  const std::string map = "(hd0) /images/a.img\r\n"
                          "  (hd1)\t/images/with blank.img  \r\n"
                          "(hd10) Z:\\images\\ten.img\n"
                          "# (hd2) /commented\n"
                          "(hd3)\n"
                          "(hd4)/no-blank.img\n"
                          "(hd6) /" +
                          std::string(kMaxPathBytes, 'x') +
                          "\n"
                          "(hd5) /last-line-without-end.img";
  const struct {
    int disk;
    const char *path; // null: not in the map
  } cases[] = {
      {0, "/images/a.img"},
      {1, "/images/with blank.img"},
      {10, "Z:\\images\\ten.img"},
      {2, nullptr},
      {3, nullptr},
      {4, nullptr},
      {5, "/last-line-without-end.img"},
      {6, nullptr}, // does not fit
      {7, nullptr},
  };
  for (const auto &c : cases) {
    char path[kMaxPathBytes];
    const bool found = findMappedPath(map.data(), map.size(), c.disk, path, sizeof path);
    EXPECT_EQ(found, c.path != nullptr) << "(hd" << c.disk << ")";
    if (found && c.path != nullptr) {
      EXPECT_STREQ(path, c.path);
    }
  }
  char path[kMaxPathBytes];
  EXPECT_FALSE(findMappedPath("(hd10) /ten.img\n", 16, 1, path, sizeof path));
  EXPECT_FALSE(findMappedPath("", 0, 0, path, sizeof path));
}

} // namespace
} // namespace installer
