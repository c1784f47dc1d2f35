#include "installer/tool.h"

#include "installer/bootcode/bootcode_layout.h"

#include "fake_disk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace installer {
namespace {

class ToolRun : public ::testing::Test {
protected:
  ToolRun() : image_(4 * 512, 0x90) {
    std::memcpy(image_.data() + bootcode::kMagicOffset, bootcode::kMagic, 8);
    for (int s = 1; s < 4; ++s) {
      std::memcpy(image_.data() + s * 512 + 504, bootcode::kMagic, 8);
    }
    platform_.disk.data[0] = plainMbr();
  }

  int run(const Variant &variant, std::vector<const char *> args) {
    args.insert(args.begin(), variant.programName);
    return runTool(variant, BootImage{image_.data(), image_.size()}, static_cast<int>(args.size()),
                   args.data(), platform_);
  }

  Sector sector(std::uint64_t lba) {
    Sector s;
    platform_.disk.read(lba, s);
    return s;
  }

  std::vector<std::uint8_t> image_;
  FakePlatform platform_;
};

TEST_F(ToolRun, UsageErrorTouchesNothingButStillPauses) {
  EXPECT_EQ(run(kMtldrVariant, {"--time-out=300", "--pause", "(hd0)"}), kExitUsage);
  EXPECT_EQ(platform_.opens, 0);
  EXPECT_TRUE(platform_.files.empty());
  EXPECT_EQ(platform_.keyWaits, 1);
  EXPECT_NE(platform_.err.find("--time-out=300"), std::string::npos);
}

TEST_F(ToolRun, InstallWritesSectorZeroLastAndSaysSo) {
  const Sector before = plainMbr();
  EXPECT_EQ(run(kMtldrVariant, {"--save=bk", "--pause", "(hd0)"}), kExitOk) << platform_.err;
  EXPECT_TRUE(platform_.openedWritable);
  const std::vector<std::uint64_t> order = {2, 3, 4, 1, 0};
  EXPECT_EQ(platform_.disk.writeOrder, order);
  EXPECT_EQ(sector(1), before);
  EXPECT_EQ(platform_.files["bk"], std::string(before.begin(), before.end()));
  const std::string done = "恭喜您,安装成功!\n";
  const std::size_t at = platform_.out.find(done);
  ASSERT_NE(at, std::string::npos) << platform_.out;
  EXPECT_EQ(platform_.out.substr(at + done.size()), "按任意键退出...\n");
  EXPECT_EQ(platform_.keyWaits, 1);
}

TEST_F(ToolRun, ReadOnlyReadsEverythingAndWritesNothing) {
  EXPECT_EQ(run(kMtldrVariant, {"--save=bk", "--read-only", "(hd0)"}), kExitOk);
  EXPECT_FALSE(platform_.openedWritable);
  EXPECT_TRUE(platform_.disk.written.empty());
  EXPECT_TRUE(platform_.files.empty());
  EXPECT_NE(platform_.out.find("将把现在的MBR保存到文件 bk"), std::string::npos);
  EXPECT_NE(platform_.out.find("测试模式"), std::string::npos);
  EXPECT_EQ(platform_.out.find("恭喜"), std::string::npos);
}

TEST_F(ToolRun, BackupFileProblemsLeaveTheDiskAlone) {
  const struct {
    const char *name;
    void (*prepare)(FakePlatform &);
    const char *says;
  } cases[] = {
      {"cannot be written", [](FakePlatform &p) { p.unwritableFiles.insert("bk"); },
       "无法写入备份文件 bk"},
      {"holds another MBR", [](FakePlatform &p) { p.files["bk"] = std::string(512, 'x'); },
       "已经存在"},
  };
  for (const auto &c : cases) {
    FakePlatform platform;
    platform.disk.data[0] = plainMbr();
    c.prepare(platform);
    const char *args[] = {"grldrinst", "--save-mbr=bk", "(hd0)"};
    EXPECT_EQ(runTool(kGrldrVariant, BootImage{image_.data(), image_.size()}, 3, args, platform),
              kExitRefused)
        << c.name;
    EXPECT_TRUE(platform.disk.written.empty()) << c.name;
    EXPECT_NE(platform.err.find(c.says), std::string::npos) << c.name << ": " << platform.err;
  }
}

TEST_F(ToolRun, EmptyFileValueMeansNoBackupFile) {
  EXPECT_EQ(run(kGrldrVariant, {"--save-mbr=", "(hd0)"}), kExitOk) << platform_.err;
  EXPECT_TRUE(platform_.files.empty());
  EXPECT_FALSE(platform_.disk.written.empty());
}

TEST_F(ToolRun, SameBackupAgainIsAccepted) {
  const Sector mbr = plainMbr();
  platform_.files["bk"] = std::string(mbr.begin(), mbr.end());
  EXPECT_EQ(run(kMtldrVariant, {"--save=bk", "(hd0)"}), kExitOk) << platform_.err;
}

TEST_F(ToolRun, FailedWriteBeforeSectorZeroLeavesItUntouched) {
  platform_.disk.failWrites.insert(3);
  EXPECT_EQ(run(kMtldrVariant, {"(hd0)"}), kExitRefused);
  EXPECT_EQ(sector(0), plainMbr());
  EXPECT_NE(platform_.err.find("写保护"), std::string::npos) << platform_.err;
  EXPECT_NE(platform_.out.find("第一扇区还没有改动"), std::string::npos);
}

TEST_F(ToolRun, ReadBackThatDiffersFails) {
  platform_.disk.corruptReadsAfterWrite.insert(0);
  EXPECT_EQ(run(kMtldrVariant, {"(hd0)"}), kExitRefused);
  EXPECT_NE(platform_.err.find("读回的内容不同"), std::string::npos) << platform_.err;
}

TEST_F(ToolRun, OtherSectorSizesAreRefused) {
  platform_.sectorSize = 4096;
  EXPECT_EQ(run(kMtldrVariant, {"(hd0)"}), kExitRefused);
  EXPECT_TRUE(platform_.disk.written.empty());
  EXPECT_NE(platform_.err.find("4096"), std::string::npos);
}

TEST_F(ToolRun, ListingOfAMissingDiskIsEmpty) {
  EXPECT_EQ(run(kMtldrVariant, {"-l", "(hd1)"}), kExitRefused);
  EXPECT_TRUE(platform_.out.empty());
  EXPECT_FALSE(platform_.err.empty());
}

TEST_F(ToolRun, UninstallRoundTripsKeepTodaysTable) {
  const Sector original = plainMbr();
  ASSERT_EQ(run(kMtldrVariant, {"--save=bk", "(hd0)"}), kExitOk) << platform_.err;
  Sector changed = sector(0);
  putEntry(changed, 1, 0x83, 20000, 1000);
  platform_.disk.data[0] = changed;

  for (const char *source : {"--restore=bk", "--restore-prevmbr"}) {
    platform_.disk.data[0] = changed;
    ASSERT_EQ(run(kMtldrVariant, {source, "(hd0)"}), kExitOk) << source << platform_.err;
    const Sector restored = sector(0);
    EXPECT_EQ(std::memcmp(restored.data(), original.data(), 440), 0) << source;
    EXPECT_EQ(std::memcmp(restored.data() + 440, changed.data() + 440, 72), 0) << source;
  }
  EXPECT_NE(platform_.out.find("恭喜您,卸载成功!"), std::string::npos);
}

TEST_F(ToolRun, RestoreFromSecondSectorWithoutOurCodeIsRefused) {
  EXPECT_EQ(run(kGrldrVariant, {"--restore-prevmbr", "(hd0)"}), kExitRefused);
  EXPECT_TRUE(platform_.disk.written.empty());
}

} // namespace
} // namespace installer
