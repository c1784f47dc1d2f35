#include "installer/tool.h"

#include "fake_disk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace installer {
namespace {

// Runs of the whole tool on a fake disk: what the runs of the real builds on images cannot make
// happen (write order, failing writes, a read-back that differs, other sector sizes).
class ToolRun : public ::testing::Test {
protected:
  ToolRun() { platform_.disk.data[0] = plainMbr(); }

  int run(const Variant &variant, std::vector<const char *> args) {
    args.insert(args.begin(), variant.programName);
    return runTool(variant, image_.image(), static_cast<int>(args.size()), args.data(), platform_);
  }
  bool says(const std::string &text, const char *words) {
    return text.find(words) != std::string::npos;
  }

  TestImage image_;
  FakePlatform platform_;
};

TEST_F(ToolRun, UsageErrorOpensNothingButStillPauses) {
  EXPECT_EQ(run(kMtldrVariant, {"--time-out=300", "--pause", "(hd0)"}), kExitUsage);
  EXPECT_EQ(platform_.opens, 0);
  EXPECT_EQ(platform_.keyWaits, 1);
  EXPECT_TRUE(says(platform_.err, "--time-out=300"));
}

TEST_F(ToolRun, InstallWritesSectorZeroLastAndSaysSo) {
  const Sector before = plainMbr();
  EXPECT_EQ(run(kMtldrVariant, {"--save=bk", "--pause", "(hd0)"}), kExitOk) << platform_.err;
  EXPECT_EQ(platform_.disk.writeOrder, (std::vector<std::uint64_t>{2, 3, 4, 1, 0}));
  EXPECT_EQ(platform_.files["bk"], std::string(before.begin(), before.end()));
  const std::string done = "恭喜您,安装成功!\n";
  const std::size_t at = platform_.out.find(done);
  ASSERT_NE(at, std::string::npos) << platform_.out;
  EXPECT_EQ(platform_.out.substr(at + done.size()), "按任意键退出...\n");
  EXPECT_EQ(platform_.keyWaits, 1);
  EXPECT_TRUE(platform_.closedBeforeWait);
}

TEST_F(ToolRun, ReportBeginsWithTheDiskAndTellsOfAUefiStartButTheListingDoesNot) {
  for (Firmware firmware : {Firmware::Uefi, Firmware::Bios, Firmware::Unknown}) {
    FakePlatform platform;
    platform.disk.data[0] = plainMbr();
    platform.firmwareType = firmware;
    // Refused after the disk is named (no code of ours to uninstall): the report ends there.
    const char *args[] = {"mtldrinst", "--restore-prevmbr", "(hd0)"};
    EXPECT_EQ(runTool(kMtldrVariant, image_.image(), 3, args, platform), kExitRefused);
    const std::string note = firmware == Firmware::Uefi ? kUefiNote + std::string("\n") : "";
    EXPECT_EQ(platform.out, "mtldrinst: 恢复磁盘 (hd0) 原来的MBR\n"
                            "磁盘 (hd0) 是映像文件 fake.img,大小 32 MB.\n" +
                                note);
  }
  platform_.firmwareType = Firmware::Uefi;
  EXPECT_EQ(run(kMtldrVariant, {"-l", "(hd0)"}), kExitOk);
  EXPECT_EQ(platform_.out.find("磁盘"), std::string::npos) << platform_.out;
}

TEST_F(ToolRun, TestModeTellsOfBitLockerAndAsksNothing) {
  Sector volume{};
  std::memcpy(volume.data() + 3, "-FVE-FS-", 8);
  platform_.disk.data[2048] = volume;
  platform_.answer = Platform::Answer::Yes;
  EXPECT_EQ(run(kMtldrVariant, {"--read-only", "(hd0)"}), kExitOk) << platform_.err;
  EXPECT_EQ(platform_.questions, 0);
  EXPECT_TRUE(says(platform_.out, "BitLocker 加密的分区: 主分区 1 (4 MB).")) << platform_.out;
}

TEST_F(ToolRun, BackupFileIsNewOrTheSameElseTheDiskStaysAlone) {
  const Sector mbr = plainMbr();
  const struct {
    const char *name;
    const char *arg;
    std::string existing;
    int exit;
    const char *says;
  } cases[] = {
      {"another MBR in it", "--save-mbr=bk", std::string(512, 'x'), kExitRefused, "已经存在"},
      {"the same MBR in it", "--save-mbr=bk", std::string(mbr.begin(), mbr.end()), kExitOk, ""},
      {"empty value: no file", "--save-mbr=", "", kExitOk, ""},
  };
  for (const auto &c : cases) {
    FakePlatform platform;
    platform.disk.data[0] = mbr;
    if (!c.existing.empty()) {
      platform.files["bk"] = c.existing;
    }
    const char *args[] = {"grldrinst", c.arg, "(hd0)"};
    EXPECT_EQ(runTool(kGrldrVariant, image_.image(), 3, args, platform), c.exit) << c.name;
    EXPECT_EQ(platform.disk.writeOrder.empty(), c.exit != kExitOk) << c.name;
    EXPECT_TRUE(says(platform.err, c.says)) << c.name << ": " << platform.err;
    EXPECT_EQ(platform.files.size(), c.existing.empty() ? 0u : 1u) << c.name;
  }
}

TEST_F(ToolRun, FailuresOnTheDiskAreReportedAndSectorZeroSurvivesWhenItCan) {
  platform_.disk.failWrites.insert(3);
  EXPECT_EQ(run(kMtldrVariant, {"(hd0)"}), kExitRefused);
  EXPECT_EQ(platform_.disk.data[0], plainMbr());
  EXPECT_TRUE(says(platform_.err, "写保护")) << platform_.err;
  EXPECT_TRUE(says(platform_.out, "第一扇区还没有改动"));

  FakePlatform corrupting;
  corrupting.disk.data[0] = plainMbr();
  corrupting.disk.corruptReadsAfterWrite.insert(0);
  const char *args[] = {"mtldrinst", "(hd0)"};
  EXPECT_EQ(runTool(kMtldrVariant, image_.image(), 2, args, corrupting), kExitRefused);
  EXPECT_TRUE(says(corrupting.err, "读回的内容不同")) << corrupting.err;

  FakePlatform bigSectors;
  bigSectors.sectorSize = 4096;
  EXPECT_EQ(runTool(kMtldrVariant, image_.image(), 2, args, bigSectors), kExitRefused);
  EXPECT_TRUE(bigSectors.disk.writeOrder.empty());
  EXPECT_TRUE(says(bigSectors.err, "4096"));
}

} // namespace
} // namespace installer
