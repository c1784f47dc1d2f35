#include "installer/install_plan.h"
#include "installer/restore_plan.h"

#include "installer/bootcode/bootcode_layout.h"

#include "fake_disk.h"

#include <gtest/gtest.h>

#include <vector>

namespace installer {
namespace {

// A boot image of `sectors` sectors carrying our marks, like the assembled one.
struct TestImage {
  explicit TestImage(std::size_t sectors) : bytes(sectors * 512, 0x90) {
    std::memcpy(bytes.data() + bootcode::kMagicOffset, bootcode::kMagic, 8);
    for (std::size_t s = 1; s < sectors; ++s) {
      std::memcpy(bytes.data() + s * 512 + 504, bootcode::kMagic, 8);
    }
  }
  BootImage image() const { return BootImage{bytes.data(), bytes.size()}; }
  std::vector<std::uint8_t> bytes;
};

Options installOptions() {
  Options options;
  options.mode = Mode::Install;
  options.disk = 0;
  return options;
}

TEST(InstallPlan, RefusesWhatIsNotAnMbrTable) {
  Sector unsigned_ = plainMbr();
  unsigned_[511] = 0;
  Sector gpt = plainMbr();
  putEntry(gpt, 0, 0xEE, 1, 0xFFFF);
  Sector volume = plainMbr();
  std::memcpy(volume.data() + 54, "FAT16   ", 8);
  Sector garbage = plainMbr();
  garbage[446] = 0x01;
  const struct {
    const Sector *mbr;
    Refusal expected;
  } cases[] = {{&unsigned_, Refusal::NoBootSignature},
               {&gpt, Refusal::Gpt},
               {&volume, Refusal::VolumeBootSector},
               {&garbage, Refusal::NoPartitionTable}};
  const TestImage image(4);
  for (const auto &c : cases) {
    FakeDisk disk;
    EXPECT_EQ(
        planInstall(*c.mbr, disk, image.image(), installOptions(), kMtldrVariant).outcome.refusal,
        c.expected);
  }
}

TEST(InstallPlan, GapMustHoldEveryExtraSector) {
  const TestImage image(4); // extra sectors at LBA 2..4
  const struct {
    std::uint32_t firstStart;
    bool noBackup;
    Refusal expected;
  } cases[] = {
      {0, true, Refusal::GapTooSmall}, // a table that claims sector 0 itself
      {4, false, Refusal::GapTooSmall}, {5, false, Refusal::None},
      {5, true, Refusal::None},         {2048, false, Refusal::None},
  };
  for (const auto &c : cases) {
    FakeDisk disk;
    Options options = installOptions();
    options.noBackupMbr = c.noBackup;
    const InstallPlan plan =
        planInstall(plainMbr(c.firstStart), disk, image.image(), options, kMtldrVariant);
    EXPECT_EQ(plan.outcome.refusal, c.expected) << "first partition at " << c.firstStart;
    if (c.expected == Refusal::GapTooSmall) {
      EXPECT_EQ(plan.outcome.lba, 4u);
      EXPECT_EQ(plan.outcome.value, c.firstStart);
    }
  }
}

TEST(InstallPlan, SingleSectorImageNeedsOnlyTheSecondSector) {
  const TestImage image(1);
  FakeDisk disk;
  EXPECT_EQ(planInstall(plainMbr(1), disk, image.image(), installOptions(), kGrldrVariant)
                .outcome.refusal,
            Refusal::GapTooSmall);
  Options noBackup = installOptions();
  noBackup.noBackupMbr = true;
  EXPECT_FALSE(
      planInstall(plainMbr(1), disk, image.image(), noBackup, kGrldrVariant).outcome.refused());
}

TEST(InstallPlan, GapSectorsMustBeFreeOrOurs) {
  const TestImage image(4);
  const struct {
    const char *name;
    std::uint64_t lba;
    Sector content;
    Refusal expected;
  } cases[] = {
      {"foreign data in the gap", 3, filledSector(0x42), Refusal::GapInUse},
      {"our own earlier sector", 3,
       [] {
         Sector s = filledSector(0x11);
         std::memcpy(s.data() + 504, bootcode::kMagic, 8);
         return s;
       }(),
       Refusal::None},
      {"another loader in LBA 1", 1, filledSector(0x42), Refusal::SecondSectorInUse},
      {"an earlier saved MBR in LBA 1", 1, plainMbr(), Refusal::None},
  };
  for (const auto &c : cases) {
    FakeDisk disk;
    disk.data[c.lba] = c.content;
    const InstallPlan plan =
        planInstall(plainMbr(), disk, image.image(), installOptions(), kMtldrVariant);
    EXPECT_EQ(plan.outcome.refusal, c.expected) << c.name;
  }
}

TEST(InstallPlan, UnreadableGapIsRefusedWithItsError) {
  const TestImage image(4);
  FakeDisk disk;
  disk.failReads.insert(3);
  const InstallPlan plan =
      planInstall(plainMbr(), disk, image.image(), installOptions(), kMtldrVariant);
  EXPECT_EQ(plan.outcome.refusal, Refusal::DiskUnreadable);
  EXPECT_EQ(plan.outcome.lba, 3u);
  EXPECT_TRUE(plan.outcome.error.failed());
}

TEST(InstallPlan, BootSectorKeepsTableAndCarriesConfiguration) {
  const TestImage image(4);
  FakeDisk disk;
  Options options = installOptions();
  options.disableFloppy = true;
  options.previousMbrFirst = true;
  options.timeout = 9;
  const Sector mbr = plainMbr();
  const InstallPlan plan = planInstall(mbr, disk, image.image(), options, kGrldrVariant);
  ASSERT_FALSE(plan.outcome.refused());
  EXPECT_TRUE(plan.writePreviousMbr);
  EXPECT_EQ(std::memcmp(plan.bootSector.data() + 440, mbr.data() + 440, 72), 0);
  EXPECT_TRUE(isOurBootCode(plan.bootSector));
  EXPECT_EQ(plan.bootSector[bootcode::kFlagsOffset],
            bootcode::kNoFloppySearch | bootcode::kPreviousMbrFirst | bootcode::kPreviousMbrSaved);
  EXPECT_EQ(plan.bootSector[bootcode::kTimeoutOffset], 9);
  EXPECT_EQ(plan.bootSector[bootcode::kExtraSectorsOffset], 3);
  EXPECT_EQ(std::memcmp(plan.bootSector.data() + bootcode::kLoaderNameOffset, "GRLDR      ", 11),
            0);
}

TEST(InstallPlan, ReinstallNeverBacksUpOurOwnCode) {
  const TestImage image(4);
  const struct {
    bool earlierSaved;
    bool noBackupNow;
    bool savedAfter;
  } cases[] = {
      {true, false, true}, {false, false, false}, {true, true, true}, {false, true, false}};
  for (const auto &c : cases) {
    FakeDisk disk;
    Options earlier = installOptions();
    const Sector installed =
        composeBootSector(image.image(), plainMbr(), earlier, kMtldrVariant, c.earlierSaved);
    Options now = installOptions();
    now.noBackupMbr = c.noBackupNow;
    const InstallPlan plan = planInstall(installed, disk, image.image(), now, kMtldrVariant);
    ASSERT_FALSE(plan.outcome.refused());
    EXPECT_TRUE(plan.reinstall);
    EXPECT_FALSE(plan.writePreviousMbr);
    EXPECT_EQ(plan.previousMbrSaved, c.savedAfter);
    EXPECT_EQ((plan.bootSector[bootcode::kFlagsOffset] & bootcode::kPreviousMbrSaved) != 0,
              c.savedAfter);
  }
}

TEST(RestorePlan, FileMustBeOneForeignMbr) {
  const Sector good = plainMbr();
  Sector ours = plainMbr();
  std::memcpy(ours.data() + bootcode::kMagicOffset, bootcode::kMagic, 8);
  Sector unsigned_ = plainMbr();
  unsigned_[510] = 0;
  std::vector<std::uint8_t> big(good.begin(), good.end());
  big.push_back(0);
  const struct {
    const std::uint8_t *data;
    std::size_t size;
    Refusal expected;
  } cases[] = {{good.data(), 512, Refusal::None},
               {good.data(), 511, Refusal::RestoreFileSize},
               {big.data(), big.size(), Refusal::RestoreFileSize},
               {good.data(), 0, Refusal::RestoreFileSize},
               {unsigned_.data(), 512, Refusal::RestoreFileInvalid},
               {ours.data(), 512, Refusal::RestoreFileIsOurs}};
  for (const auto &c : cases) {
    Sector source;
    EXPECT_EQ(checkRestoreFile(c.data, c.size, source).refusal, c.expected) << c.size;
  }
}

// Restoring writes bytes 0..439 just as an install does: a volume's boot sector at LBA 0 would
// lose its BPB, so the target must be a real MBR table too.
TEST(RestorePlan, TargetMustBeAnMbrTable) {
  Sector unsigned_ = plainMbr();
  unsigned_[510] = 0;
  Sector gpt = plainMbr();
  putEntry(gpt, 1, 0xEE, 1, 0xFFFF);
  Sector fat = plainMbr();
  std::memcpy(fat.data() + 54, "FAT12   ", 8);
  Sector ntfs = plainMbr();
  std::memcpy(ntfs.data() + 3, "NTFS    ", 8);
  Sector garbage = plainMbr();
  garbage[446 + 16] = 0x29;
  const struct {
    const char *name;
    const Sector *mbr;
    Refusal expected;
  } cases[] = {{"plain", nullptr, Refusal::None},
               {"unsigned", &unsigned_, Refusal::NoBootSignature},
               {"GPT", &gpt, Refusal::Gpt},
               {"FAT volume", &fat, Refusal::VolumeBootSector},
               {"NTFS volume", &ntfs, Refusal::VolumeBootSector},
               {"status bytes", &garbage, Refusal::NoPartitionTable}};
  const Sector plain = plainMbr();
  for (const auto &c : cases) {
    EXPECT_EQ(checkRestoreTarget(c.mbr != nullptr ? *c.mbr : plain).refusal, c.expected) << c.name;
  }
}

TEST(RestorePlan, SecondSectorOnlyBehindOurCodeThatSavedIt) {
  const TestImage image(4);
  const Options options = installOptions();
  const Sector saved = composeBootSector(image.image(), plainMbr(), options, kMtldrVariant, true);
  const Sector notSaved =
      composeBootSector(image.image(), plainMbr(), options, kMtldrVariant, false);
  Sector unsignedPrevious = plainMbr();
  unsignedPrevious[510] = 0;
  const struct {
    const char *name;
    Sector mbr;
    Sector lba1;
    Refusal expected;
  } cases[] = {
      {"our code with a saved MBR", saved, plainMbr(), Refusal::None},
      {"foreign code", plainMbr(), plainMbr(), Refusal::NotOurBootCode},
      {"our code without a backup", notSaved, plainMbr(), Refusal::PreviousMbrNotSaved},
      {"backup without signature", saved, unsignedPrevious, Refusal::PreviousMbrInvalid},
      {"backup is our own code", saved, saved, Refusal::PreviousMbrIsOurs},
  };
  for (const auto &c : cases) {
    FakeDisk disk;
    disk.data[1] = c.lba1;
    Sector source;
    EXPECT_EQ(readPreviousMbr(c.mbr, disk, source).refusal, c.expected) << c.name;
  }
}

TEST(RestorePlan, TodaysTableStays) {
  Sector old = plainMbr(63);
  Sector today = plainMbr(2048);
  putEntry(today, 1, 0x83, 10240, 100);
  const Sector restored = withTableOf(old, today);
  EXPECT_EQ(std::memcmp(restored.data(), old.data(), 440), 0);
  EXPECT_EQ(std::memcmp(restored.data() + 440, today.data() + 440, 72), 0);
}

} // namespace
} // namespace installer
