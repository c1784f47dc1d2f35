#include "installer/tool.h"

#include "fake.h"
#include "installer/bootcode/bootcode_blob.h"
#include "installer/device_map.h"
#include "installer/listing.h"

#include <gtest/gtest.h>

namespace installer {
namespace {

// Runs of the whole tool on a fake, for what the real builds on images cannot meet: the order of
// writes, failing writes, a medium or a file that keeps other bytes, a UEFI machine.
int run(Fake &fake, std::vector<const char *> args) {
  args.insert(args.begin(), "mtldrinst");
  const BootImage image{bootcode::kImage, bootcode::kImageSize};
  return runTool(kMtldrVariant, image, static_cast<int>(args.size()), args.data(), fake);
}

TEST(ToolRun, BackupFirstSectorZeroLastAndTheDiskClosedBeforeTheKey) {
  Fake fake;
  EXPECT_EQ(run(fake, {"--save=bk", "--pause", "(hd0)"}), kExitOk) << fake.err;
  std::vector<std::string> expected{"open", "file bk"};
  for (std::size_t lba = 2; lba <= bootcode::kImageSize / 512; ++lba) {
    expected.push_back("write " + std::to_string(lba));
  }
  expected.insert(expected.end(), {"write 1", "write 0", "close", "key"});
  EXPECT_EQ(fake.log, expected);
  const Sector mbr = Fake::plainMbr();
  EXPECT_EQ(fake.files["bk"], std::string(mbr.begin(), mbr.end()));
}

TEST(ToolRun, AFailedOrDifferingWriteEndsTheRunBeforeSectorZeroAndSaysHowToUndoIt) {
  const struct {
    const char *name;
    void (*fault)(Fake &);
    const char *save;
    const char *says;
    const char *then; // what the disk's state asks for, on the line before the outcome
  } cases[] = {
      {"gap sector not written", [](Fake &f) { f.failingWrite = 3; }, "--save=bk", "写保护",
       "安装没有完成.第一扇区还没有改动"},
      {"gap sector differs", [](Fake &f) { f.spoiledWrite = 3; }, "--save=bk", "3 号扇区写入后读回",
       "安装没有完成.第一扇区还没有改动"},
      {"LBA 1 differs", [](Fake &f) { f.spoiledWrite = 1; }, "--save=bk", "第二扇区写入后读回",
       "安装没有完成.第一扇区还没有改动"},
      {"sector 0 differs", [](Fake &f) { f.spoiledWrite = 0; }, "--save=bk", "第一扇区写入后读回",
       "\"恢复文件\" 框中填入 bk,"},
      {"sector 0 differs, no file", [](Fake &f) { f.spoiledWrite = 0; },
       "--save=", "第一扇区写入后读回", "清空 \"恢复文件\" 框"},
      {"backup file differs", [](Fake &f) { f.spoiledFile = true; }, "--save=bk",
       "备份文件 bk 读回", "安装没有完成.磁盘没有任何改动"},
      {"4096-byte sectors", [](Fake &f) { f.sectorSize = 4096; }, "--save=bk", "4096 字节",
       "安装没有完成.磁盘没有任何改动"},
  };
  for (const auto &c : cases) {
    Fake fake;
    c.fault(fake);
    EXPECT_EQ(run(fake, {c.save, "(hd0)"}), kExitRefused) << c.name;
    EXPECT_NE(fake.err.find(c.says), std::string::npos) << c.name << ": " << fake.err;
    EXPECT_NE(fake.err.find(c.then), std::string::npos) << c.name << ": " << fake.err;
    EXPECT_EQ(fake.err.rfind("安装没有完成."), fake.err.rfind('\n', fake.err.size() - 2) + 1)
        << c.name << ": the outcome is not the last line";
    EXPECT_EQ(fake.out.find("成功"), std::string::npos) << c.name;
    EXPECT_EQ(fake.data[0] == Fake::plainMbr(), fake.spoiledWrite != 0) << c.name;
  }
}

// Over our own code sector 0 goes first, since an earlier sector 0 may run any gap it finds;
// ours then refuses the gap until it is whole, and a failure says what the disk does meanwhile.
TEST(ToolRun, AReinstallWritesSectorZeroFirstAndAFailureSaysWhatTheDiskDoes) {
  const std::uint64_t lastGap = bootcode::kImageSize / 512;
  const struct {
    const char *name;
    std::uint64_t failingWrite;
    const char *option;
    const char *says; // on standard output, after the reason
    std::uint64_t firstUnchanged;
  } cases[] = {
      {"no failure", ~0ull, "--time-out=3", "恭喜您", ~0ull},
      {"sector 0", 0, "--time-out=3", "其他扇区还没有改动", 0},
      {"a gap sector", 3, "--time-out=3", "3 号扇区没有写好", 3},
      {"the last gap sector", lastGap, "--time-out=3", ",然后启动原来的 MBR", lastGap},
      {"a gap sector, the old MBR disabled", 3, "--mbr-disable-osbr", "然后停止", 3},
  };
  const std::string screen = "bootdeck: boot code damaged or incomplete"; // what sector 0 shows
  const std::string sector0(bootcode::kImage, bootcode::kImage + 440);
  EXPECT_NE(sector0.find(screen), std::string::npos);
  for (const auto &c : cases) {
    Fake fake;
    ASSERT_EQ(run(fake, {"--time-out=9", "(hd0)"}), kExitOk) << fake.err;
    const std::map<std::uint64_t, Sector> before = fake.data;
    for (std::uint64_t lba = 2; lba <= lastGap; ++lba) {
      fake.data[lba][7] ^= 1; // as another build's gap differs
    }
    const std::map<std::uint64_t, Sector> earlier = fake.data;
    fake.log.clear();
    fake.out.clear();
    fake.failingWrite = c.failingWrite;
    EXPECT_EQ(run(fake, {c.option, "(hd0)"}), c.failingWrite == ~0ull ? kExitOk : kExitRefused);
    std::vector<std::string> expected{"open"};
    for (std::uint64_t lba = 0; lba <= lastGap; lba += lba == 0 ? 2 : 1) {
      expected.push_back("write " + std::to_string(lba));
      if (lba == c.failingWrite) {
        break;
      }
    }
    expected.push_back("close");
    EXPECT_EQ(fake.log, expected) << c.name;
    const std::string said = fake.out + fake.err;
    EXPECT_NE(said.find(c.says), std::string::npos) << c.name << ": " << said;
    EXPECT_EQ(said.find("\"" + screen + "\"") != std::string::npos, c.failingWrite != ~0ull)
        << c.name;
    EXPECT_EQ(fake.data[1], before.at(1)) << c.name << ": the saved MBR kept";
    for (std::uint64_t lba = 2; lba <= lastGap; ++lba) {
      EXPECT_EQ(fake.data[lba], (lba < c.firstUnchanged ? before : earlier).at(lba))
          << c.name << ", LBA " << lba;
    }
  }
}

TEST(ToolRun, ReportNamesTheDiskAndTellsOfAUefiStartButTheListingDoesNot) {
  for (Firmware firmware : {Firmware::Uefi, Firmware::Bios, Firmware::Unknown}) {
    Fake fake;
    fake.firmwareType = firmware;
    // Refused after the disk is named (no code of ours to uninstall): the report ends there.
    EXPECT_EQ(run(fake, {"--restore-prevmbr", "(hd0)"}), kExitRefused);
    const std::string title =
        "mtldrinst: 卸载启动代码,恢复原来的 MBR 到磁盘 (hd0) (bootdeck 列表中的 \"第1块介质\")";
    EXPECT_EQ(fake.title, title);
    EXPECT_EQ(fake.out, title +
                            "\n磁盘 (hd0) 是映像文件 fake.img,大小 32 MB;在 bootdeck 的列表中是 "
                            "\"第1块介质 : 4 MB\" (列表中的大小是各分区大小之和).\n" +
                            std::string(firmware == Firmware::Uefi ? kUefiNote : "") +
                            (firmware == Firmware::Uefi ? "\n" : ""));
  }
  Fake fake;
  fake.firmwareType = Firmware::Uefi;
  EXPECT_EQ(run(fake, {"-l", "(hd0)"}), kExitOk);
  EXPECT_EQ(fake.out.find("磁盘"), std::string::npos) << fake.out;
}

TEST(Firmware, DecidedFromWhatWindowsAnswers) {
  // GetFirmwareType: exists, succeeded, type; WinPE's value; the variable call: exists, error.
  const struct {
    const char *name;
    FirmwareAnswers answers;
    Firmware expected;
  } cases[] = {
      {"type UEFI, nothing else asked", {true, true, 2, 1, true, 1}, Firmware::Uefi},
      {"type BIOS", {true, true, 1, 0, false, 0}, Firmware::Bios},
      {"type unknown", {true, true, 0, 2, false, 0}, Firmware::Unknown},
      {"type call failed", {true, false, 2, 2, true, 998}, Firmware::Unknown},
      {"WinPE: UEFI", {false, false, 0, 2, true, 1}, Firmware::Uefi},
      {"WinPE: BIOS", {false, false, 0, 1, true, 998}, Firmware::Bios},
      {"WinPE: another value", {false, false, 0, 3, true, 1}, Firmware::Bios},
      {"variable: invalid function", {false, false, 0, 0, true, 1}, Firmware::Bios},
      {"variable: no access", {false, false, 0, 0, true, 998}, Firmware::Uefi},
      {"variable: privilege not held", {false, false, 0, 0, true, 1314}, Firmware::Unknown},
      {"neither call", {}, Firmware::Unknown},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(decideFirmware(c.answers), c.expected) << c.name;
  }
}

TEST(DiskSource, OnWindowsTheEnvironmentNeverPicksTheDiskUnderWineOnlyTheMap) {
  EXPECT_EQ(chooseDiskSource(false, false), DiskSource::PhysicalDrive);
  // A test run on a real Windows sets the map: it must open no disk, not the real ones.
  EXPECT_EQ(chooseDiskSource(false, true), DiskSource::MapOutsideWine);
  EXPECT_EQ(chooseDiskSource(true, true), DiskSource::DeviceMap);
  EXPECT_EQ(chooseDiskSource(true, false), DiskSource::NoDisk);
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
            "GB,可移动磁盘");
  // Texts beyond what the device returned, and a bus without a name, are left out.
  EXPECT_EQ(identityLine("", "Samsung SSD 970 EVO", 5),
            "磁盘 (hd1) 是 \\\\.\\PhysicalDrive1: Samsung SSD 970,容量 28.9 GB,固定磁盘");
}

TEST(ListItem, TheTextOfBootdecksListForTheSameTable) {
  const struct {
    std::uint32_t first, second; // the lengths of entries 0 and 1
    bool signature;
    const char *item;
  } cases[] = {
      {64, 0, true, "第4块介质 : 0.0312 MB"}, // the tie at the fifth decimal goes to the even digit
      {2048, 0, true, "第4块介质 : 1 MB"},
      {1048575, 0, true, "第4块介质 : 511.9995 MB"},
      {1048575, 1, true, "第4块介质 : 0.5 GB"},
      {0xFFFFFFFF, 0xFFFFFFFF, true, "第4块介质 : 4096 GB"},
      {2048, 0, false, "第4块介质 : 0 MB"}, // no table, no entries listed
  };
  for (const auto &c : cases) {
    Sector mbr{};
    std::memcpy(mbr.data() + 446 + 12, &c.first, 4);
    std::memcpy(mbr.data() + 462 + 12, &c.second, 4);
    mbr[510] = c.signature ? 0x55 : 0;
    mbr[511] = c.signature ? 0xAA : 0;
    TextBuffer item;
    appendListItem(mbr, 3, item);
    EXPECT_STREQ(item.c_str(), c.item) << c.first << " + " << c.second;
  }
}

} // namespace
} // namespace installer
