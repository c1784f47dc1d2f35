#include "installer/disk_identity.h"
#include "installer/firmware.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

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
    EXPECT_STREQ(busTypeWords(c.busType), c.words) << c.busType;
  }
}

// A STORAGE_DEVICE_DESCRIPTOR as a device returns it, its texts after the fixed part, of which
// the device returns all but `cut` bytes: removable and on USB when it returns all.
std::string identityLine(const std::string &vendor, const std::string &product, std::size_t cut) {
  const std::string texts = vendor + '\0' + product + '\0';
  const auto size = static_cast<std::uint32_t>(40 + texts.size());
  const auto productAt = static_cast<std::uint32_t>(41 + vendor.size());
  const std::uint32_t fixed[10] = {0, size, cut == 0 ? 0x10000u : 0, 40, productAt,
                                   0, 0,    cut == 0 ? 7u : 0};
  const std::string d = std::string(reinterpret_cast<const char *>(fixed), 40) + texts;
  DiskIdentity identity;
  std::strcpy(identity.path, "\\\\.\\PhysicalDrive1");
  readDeviceDescriptor(reinterpret_cast<const std::uint8_t *>(d.data()), d.size() - cut, identity);
  identity.bytes = 31029460992; // 28.898 GB
  TextBuffer text;
  appendDiskIdentity(identity, "(hd1)", text);
  return text.c_str();
}

TEST(DiskIdentity, WhatTheDeviceTellsAndNothingElse) {
  // Blanks around a text and bytes that are no printable ASCII are dropped.
  EXPECT_EQ(identityLine("  Kingston", "Data\xff\x01Traveler 3.0  ", 0),
            "磁盘 (hd1) 是 \\\\.\\PhysicalDrive1: Kingston DataTraveler 3.0,接口 USB,容量 28.9 "
            "GB,可移动磁盘.");
  // Texts beyond what the device returned, and a bus without a name, are left out.
  EXPECT_EQ(identityLine("", "Samsung SSD 970 EVO", 5),
            "磁盘 (hd1) 是 \\\\.\\PhysicalDrive1: Samsung SSD 970,容量 28.9 GB,固定磁盘.");
}

} // namespace
} // namespace installer
