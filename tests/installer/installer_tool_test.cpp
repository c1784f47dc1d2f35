#include "installer/tool.h"

#include "fake.h"
#include "installer/bootcode/bootcode_blob.h"

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

TEST(ToolRun, AFailedOrDifferingWriteEndsTheRunBeforeSectorZero) {
  const struct {
    const char *name;
    void (*fault)(Fake &);
    const char *says;
  } cases[] = {
      {"gap sector not written", [](Fake &f) { f.failingWrite = 3; }, "写保护"},
      {"gap sector differs", [](Fake &f) { f.spoiledWrite = 3; }, "第 3 扇区写入后读回"},
      {"LBA 1 differs", [](Fake &f) { f.spoiledWrite = 1; }, "第 1 扇区写入后读回"},
      {"sector 0 differs", [](Fake &f) { f.spoiledWrite = 0; }, "第 0 扇区写入后读回"},
      {"backup file differs", [](Fake &f) { f.spoiledFile = true; }, "备份文件 bk 读回"},
      {"4096-byte sectors", [](Fake &f) { f.sectorSize = 4096; }, "4096 字节"},
  };
  for (const auto &c : cases) {
    Fake fake;
    c.fault(fake);
    EXPECT_EQ(run(fake, {"--save=bk", "(hd0)"}), kExitRefused) << c.name;
    EXPECT_NE(fake.err.find(c.says), std::string::npos) << c.name << ": " << fake.err;
    EXPECT_EQ(fake.out.find("成功"), std::string::npos) << c.name;
    EXPECT_EQ(fake.data[0] == Fake::plainMbr(), fake.spoiledWrite != 0) << c.name;
  }
}

TEST(ToolRun, ReportNamesTheDiskAndTellsOfAUefiStartButTheListingDoesNot) {
  for (Firmware firmware : {Firmware::Uefi, Firmware::Bios, Firmware::Unknown}) {
    Fake fake;
    fake.firmwareType = firmware;
    // Refused after the disk is named (no code of ours to uninstall): the report ends there.
    EXPECT_EQ(run(fake, {"--restore-prevmbr", "(hd0)"}), kExitRefused);
    EXPECT_EQ(fake.out,
              "mtldrinst: 恢复磁盘 (hd0) 原来的MBR\n磁盘 (hd0) 是映像文件 fake.img,大小 32 "
              "MB.\n" +
                  std::string(firmware == Firmware::Uefi ? kUefiNote : "") +
                  (firmware == Firmware::Uefi ? "\n" : ""));
  }
  Fake fake;
  fake.firmwareType = Firmware::Uefi;
  EXPECT_EQ(run(fake, {"-l", "(hd0)"}), kExitOk);
  EXPECT_EQ(fake.out.find("磁盘"), std::string::npos) << fake.out;
}

} // namespace
} // namespace installer
