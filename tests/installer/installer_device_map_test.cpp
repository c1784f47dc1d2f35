#include "installer/device_map.h"

#include <gtest/gtest.h>

#include <cstring>
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
      {6, nullptr},
  };
  for (const auto &c : cases) {
    char path[kMaxPathBytes];
    const bool found = findMappedPath(map.data(), map.size(), c.disk, path, sizeof path);
    if (c.path == nullptr) {
      EXPECT_FALSE(found) << "(hd" << c.disk << ") gave " << path;
    } else {
      ASSERT_TRUE(found) << "(hd" << c.disk << ")";
      EXPECT_STREQ(path, c.path);
    }
  }
}

TEST(DeviceMap, DiskOneIsNotDiskTen) {
  const std::string map = "(hd10) /ten.img\n";
  char path[kMaxPathBytes];
  EXPECT_FALSE(findMappedPath(map.data(), map.size(), 1, path, sizeof path));
}

TEST(DeviceMap, PathThatDoesNotFitIsNotFound) {
  const std::string map = "(hd0) /" + std::string(40, 'x') + "\n";
  char path[16];
  EXPECT_FALSE(findMappedPath(map.data(), map.size(), 0, path, sizeof path));
}

TEST(DeviceMap, EmptyMapHasNoDisk) {
  char path[kMaxPathBytes];
  EXPECT_FALSE(findMappedPath("", 0, 0, path, sizeof path));
}

} // namespace
} // namespace installer
