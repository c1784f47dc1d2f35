#include "installer/disk_identity.h"
#include "installer/firmware.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace installer {
namespace {

TEST(Firmware, DecidedFromWhatWindowsAnswers) {
  const struct {
    const char *name;
    FirmwareAnswers answers;
    Firmware expected;
  } cases[] = {
      {"type UEFI, the variable call not asked", {true, true, 2, true, 1}, Firmware::Uefi},
      {"type BIOS", {true, true, 1, false, 0}, Firmware::Bios},
      {"type unknown", {true, true, 0, false, 0}, Firmware::Unknown},
      {"type call failed", {true, false, 2, true, 998}, Firmware::Unknown},
      {"variable: invalid function", {false, false, 0, true, 1}, Firmware::Bios},
      {"variable: no access", {false, false, 0, true, 998}, Firmware::Uefi},
      {"variable: privilege not held", {false, false, 0, true, 1314}, Firmware::Unknown},
      {"neither call", {}, Firmware::Unknown},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(decideFirmware(c.answers), c.expected) << c.name;
  }
}

TEST(DiskIdentity, BusTypesInWords) {
  const struct {
    std::uint32_t busType;
    const char *words;
  } cases[] = {{0, nullptr},  {1, "SCSI"},  {3, "ATA"},  {7, "USB"},    {11, "SATA"},
               {12, "SD 卡"}, {17, "NVMe"}, {19, "UFS"}, {20, nullptr}, {0xFFFFFFFF, nullptr}};
  for (const auto &c : cases) {
    const char *words = busTypeWords(c.busType);
    EXPECT_STREQ(words, c.words) << c.busType;
  }
}

// A STORAGE_DEVICE_DESCRIPTOR as a device returns it: texts after the fixed part.
std::vector<std::uint8_t> descriptor(std::uint32_t busType, bool removable, const char *vendor,
                                     const char *product) {
  std::vector<std::uint8_t> d(40);
  const auto put32 = [&d](std::size_t at, std::size_t value) {
    for (int i = 0; i < 4; ++i) {
      d[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
  };
  d[10] = removable;
  put32(28, busType);
  put32(12, d.size());
  d.insert(d.end(), vendor, vendor + std::strlen(vendor) + 1);
  put32(16, d.size());
  d.insert(d.end(), product, product + std::strlen(product) + 1);
  put32(4, d.size());
  return d;
}

std::string line(const DiskIdentity &identity, const char *disk = "(hd1)") {
  TextBuffer text;
  appendDiskIdentity(identity, disk, text);
  return text.c_str();
}

TEST(DiskIdentity, WhatTheDeviceTellsAndNothingElse) {
  DiskIdentity device;
  std::strcpy(device.path, "\\\\.\\PhysicalDrive1");
  std::vector<std::uint8_t> d = descriptor(7, true, "  Kingston", "Data\xff\x01Traveler 3.0  ");
  readDeviceDescriptor(d.data(), d.size(), device);
  device.bytes = 31029460992; // 28.898 GB
  EXPECT_EQ(line(device), "磁盘 (hd1) 是 \\\\.\\PhysicalDrive1: Kingston DataTraveler 3.0,接口 "
                          "USB,容量 28.9 GB,可移动磁盘.");

  // Texts outside what the device returned, and a bus without a name, are left out.
  DiskIdentity cut;
  std::strcpy(cut.path, "\\\\.\\PhysicalDrive0");
  d = descriptor(0, false, "", "Samsung SSD 970 EVO");
  readDeviceDescriptor(d.data(), d.size() - 5, cut);
  EXPECT_EQ(line(cut, "(hd0)"), "磁盘 (hd0) 是 \\\\.\\PhysicalDrive0: Samsung SSD 970,固定磁盘.");

  DiskIdentity unknown;
  std::strcpy(unknown.path, "\\\\.\\PhysicalDrive2");
  readDeviceDescriptor(d.data(), 31, unknown);
  EXPECT_EQ(line(unknown, "(hd2)"), "磁盘 (hd2) 是 \\\\.\\PhysicalDrive2.");

  DiskIdentity image;
  image.image = true;
  std::strcpy(image.path, "Z:\\disks\\a.img");
  for (const auto &size : {std::make_pair(std::uint64_t{1073741823}, "1023 MB"),
                           std::make_pair(std::uint64_t{1073741824}, "1.0 GB"),
                           std::make_pair(std::uint64_t{16} << 20, "16 MB")}) {
    image.bytes = size.first;
    EXPECT_EQ(line(image, "(hd0)"),
              std::string("磁盘 (hd0) 是映像文件 Z:\\disks\\a.img,大小 ") + size.second + ".");
  }
}

} // namespace
} // namespace installer
