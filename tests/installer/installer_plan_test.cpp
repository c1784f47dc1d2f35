#include "installer/bootcode/bootcode_blob.h"
#include "installer/install_plan.h"
#include "installer/restore_plan.h"

#include "fake_disk.h"

#include <gtest/gtest.h>

namespace installer {
namespace {

Options installOptions(bool noBackup = false) {
  Options options;
  options.mode = Mode::Install;
  options.disk = 0;
  options.noBackupMbr = noBackup;
  return options;
}

// Install and restore both write bytes 0..439: a sector 0 that is no MBR table is refused by both.
TEST(SectorZero, InstallAndRestoreRefuseWhatIsNotAnMbrTable) {
  const struct {
    const char *name;
    void (*spoil)(Sector &);
    Refusal expected;
  } cases[] = {
      {"plain", [](Sector &) {}, Refusal::None},
      {"unsigned", [](Sector &s) { s[511] = 0; }, Refusal::NoBootSignature},
      {"GPT in entry 0", [](Sector &s) { putEntry(s, 0, 0xEE, 1, 0xFFFF); }, Refusal::Gpt},
      {"GPT in entry 1", [](Sector &s) { putEntry(s, 1, 0xEE, 1, 0xFFFF); }, Refusal::Gpt},
      {"FAT12 volume", [](Sector &s) { std::memcpy(s.data() + 54, "FAT12   ", 8); },
       Refusal::VolumeBootSector},
      {"FAT32 volume", [](Sector &s) { std::memcpy(s.data() + 82, "FAT32   ", 8); },
       Refusal::VolumeBootSector},
      {"NTFS volume", [](Sector &s) { std::memcpy(s.data() + 3, "NTFS    ", 8); },
       Refusal::VolumeBootSector},
      {"status bytes", [](Sector &s) { s[446 + 16] = 0x29; }, Refusal::NoPartitionTable},
  };
  for (const auto &c : cases) {
    Sector mbr = plainMbr();
    c.spoil(mbr);
    FakeDisk disk;
    EXPECT_EQ(planInstall(mbr, disk, TestImage().image(), installOptions(), kMtldrVariant)
                  .outcome.refusal,
              c.expected)
        << c.name;
    EXPECT_EQ(checkRestoreTarget(mbr).refusal, c.expected) << c.name;
  }
}

TEST(InstallPlan, GapMustHoldEveryExtraSectorAndBeFreeOrOurs) {
  Sector ours = filledSector(0x11);
  std::memcpy(ours.data() + 504, bootcode::kMagic, 8);
  const struct {
    const char *name;
    std::uint32_t firstStart;
    bool noBackup;
    std::size_t imageSectors;
    std::uint64_t lba; // where `content` is put
    Sector content;
    Refusal expected;
  } cases[] = {
      {"table claims sector 0", 0, true, 4, 9, {}, Refusal::GapTooSmall},
      {"one sector short", 4, false, 4, 9, {}, Refusal::GapTooSmall},
      {"just enough", 5, false, 4, 9, {}, Refusal::None},
      {"just enough without backup", 5, true, 4, 9, {}, Refusal::None},
      {"one-sector image needs LBA 1", 1, false, 1, 9, {}, Refusal::GapTooSmall},
      {"one-sector image without backup", 1, true, 1, 9, {}, Refusal::None},
      {"foreign data in the gap", 2048, false, 4, 3, filledSector(0x42), Refusal::GapInUse},
      {"our own earlier sector", 2048, false, 4, 3, ours, Refusal::None},
      {"another loader in LBA 1", 2048, false, 4, 1, filledSector(0x42),
       Refusal::SecondSectorInUse},
      {"an earlier saved MBR in LBA 1", 2048, false, 4, 1, plainMbr(), Refusal::None},
  };
  for (const auto &c : cases) {
    FakeDisk disk;
    disk.data[c.lba] = c.content;
    const InstallPlan plan =
        planInstall(plainMbr(c.firstStart), disk, TestImage(c.imageSectors).image(),
                    installOptions(c.noBackup), kGrldrVariant);
    EXPECT_EQ(plan.outcome.refusal, c.expected) << c.name;
    if (c.expected == Refusal::GapTooSmall && c.imageSectors == 4) {
      EXPECT_EQ(plan.outcome.lba, 4u) << c.name;
      EXPECT_EQ(plan.outcome.value, c.firstStart) << c.name;
    }
  }
  FakeDisk unreadable;
  unreadable.failReads.insert(3);
  const InstallPlan plan =
      planInstall(plainMbr(), unreadable, TestImage().image(), installOptions(), kMtldrVariant);
  EXPECT_EQ(plan.outcome.refusal, Refusal::DiskUnreadable);
  EXPECT_EQ(plan.outcome.lba, 3u);
  EXPECT_TRUE(plan.outcome.error.failed());
}

// The assembled boot code follows bootcode_layout.h: the layout version, the count of sectors
// after LBA 1 that the code reads, the version and the mark at the end of each of them.
TEST(BootImage, CarriesItsLayoutVersionAndMarksItsGapSectors) {
  ASSERT_EQ(bootcode::kImageSize % bootcode::kSectorSize, 0u);
  const std::size_t extra = bootcode::kImageSize / bootcode::kSectorSize - 1;
  EXPECT_EQ(bootcode::kImage[bootcode::kVersionOffset], bootcode::kLayoutVersion);
  EXPECT_EQ(bootcode::kImage[bootcode::kExtraSectorsOffset], extra);
  for (std::size_t i = 1; i <= extra; ++i) {
    const unsigned char *sector = bootcode::kImage + i * bootcode::kSectorSize;
    EXPECT_EQ(sector[bootcode::kExtraVersionOffset], bootcode::kLayoutVersion) << i;
    EXPECT_EQ(std::memcmp(sector + bootcode::kExtraMagicOffset, bootcode::kMagic, 8), 0) << i;
  }
}

// An install of layout 1 (three sectors after LBA 1) is ours: a reinstall updates it, keeps its
// backup in LBA 1 and takes the free sector after its gap; a restore takes that backup.
TEST(EarlierLayout, Version1InstallIsUpdatedAndRestored) {
  const TestImage version1(4);
  Sector installed =
      composeBootSector(version1.image(), plainMbr(), installOptions(), kGrldrVariant, true);
  installed[bootcode::kVersionOffset] = 1;
  FakeDisk disk;
  disk.data[1] = plainMbr(300);
  for (std::uint64_t lba = 2; lba <= 4; ++lba) {
    std::memcpy(disk.data[lba].data(), version1.bytes.data() + (lba - 1) * 512, 512);
  }
  const BootImage current{bootcode::kImage, bootcode::kImageSize};
  const InstallPlan plan = planInstall(installed, disk, current, installOptions(), kGrldrVariant);
  EXPECT_EQ(plan.outcome.refusal, Refusal::None);
  EXPECT_TRUE(plan.reinstall);
  EXPECT_FALSE(plan.writePreviousMbr);
  EXPECT_TRUE(plan.previousMbrSaved);
  EXPECT_EQ(plan.bootSector[bootcode::kVersionOffset], bootcode::kLayoutVersion);
  EXPECT_EQ(plan.bootSector[bootcode::kExtraSectorsOffset], current.extraSectors());
  EXPECT_NE(plan.bootSector[bootcode::kFlagsOffset] & bootcode::kPreviousMbrSaved, 0);
  Sector source;
  EXPECT_EQ(readPreviousMbr(installed, disk, source).refusal, Refusal::None);
  EXPECT_EQ(source, plainMbr(300));
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

TEST(RestorePlan, SecondSectorOnlyBehindOurCodeThatSavedIt) {
  const TestImage image;
  const Sector saved =
      composeBootSector(image.image(), plainMbr(), installOptions(), kMtldrVariant, true);
  const Sector notSaved =
      composeBootSector(image.image(), plainMbr(), installOptions(), kMtldrVariant, false);
  Sector unsignedPrevious = plainMbr();
  unsignedPrevious[510] = 0;
  const struct {
    const char *name;
    Sector mbr, lba1;
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

} // namespace
} // namespace installer
