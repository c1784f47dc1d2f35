#include "installer/install_plan.h"

#include "installer/bootcode/bootcode_layout.h"

namespace installer {

namespace {

// LBA 1 may take the previous MBR when it is empty or already holds a saved boot record.
bool isFreeForPreviousMbr(const Sector &sector) {
  return isAllZero(sector) || hasBootSignature(sector);
}

} // namespace

Outcome checkWritableMbr(const Sector &mbr) {
  if (!hasBootSignature(mbr)) {
    return refuse(Refusal::NoBootSignature);
  }
  if (hasGptProtectiveEntry(mbr)) {
    return refuse(Refusal::Gpt);
  }
  if (looksLikeVolumeBootSector(mbr)) {
    return refuse(Refusal::VolumeBootSector);
  }
  if (!hasPlausibleStatusBytes(mbr)) {
    return refuse(Refusal::NoPartitionTable);
  }
  return Outcome();
}

InstallPlan planInstall(const Sector &mbr, Disk &disk, const BootImage &image,
                        const Options &options, const Variant &variant) {
  InstallPlan plan;
  plan.outcome = checkWritableMbr(mbr);
  if (plan.outcome.refused()) {
    return plan;
  }
  plan.reinstall = isOurBootCode(mbr);
  // Never back up our own code: on a reinstall LBA 1 already holds the true previous MBR, if the
  // earlier install kept one. That backup stays marked even when this run writes none: it may be
  // the only copy of the previous MBR left.
  const bool keepsEarlierBackup =
      plan.reinstall && (mbr[bootcode::kFlagsOffset] & bootcode::kPreviousMbrSaved) != 0;
  plan.writePreviousMbr = !options.noBackupMbr && !plan.reinstall;
  plan.previousMbrSaved = plan.writePreviousMbr || keepsEarlierBackup;

  const std::uint32_t extra = image.extraSectors();
  const std::uint64_t lastNeeded =
      extra > 0 ? bootcode::kFirstExtraLba + extra - 1 : (plan.writePreviousMbr ? 1 : 0);
  const std::uint64_t first = firstPartitionStart(mbr);
  if (first <= lastNeeded) {
    plan.outcome = refuse(Refusal::GapTooSmall, lastNeeded, first);
    return plan;
  }

  Sector sector;
  if (plan.writePreviousMbr) {
    const SystemError error = disk.read(bootcode::kPreviousMbrLba, sector);
    if (error.failed()) {
      plan.outcome = refuse(Refusal::DiskUnreadable, bootcode::kPreviousMbrLba, 0, error);
      return plan;
    }
    if (!isFreeForPreviousMbr(sector)) {
      plan.outcome = refuse(Refusal::SecondSectorInUse, bootcode::kPreviousMbrLba);
      return plan;
    }
  }
  for (std::uint32_t i = 0; i < extra; ++i) {
    const std::uint64_t lba = bootcode::kFirstExtraLba + i;
    const SystemError error = disk.read(lba, sector);
    if (error.failed()) {
      plan.outcome = refuse(Refusal::DiskUnreadable, lba, 0, error);
      return plan;
    }
    if (!isAllZero(sector) && !isOurExtraSector(sector)) {
      plan.outcome = refuse(Refusal::GapInUse, lba);
      return plan;
    }
  }
  plan.bootSector = composeBootSector(image, mbr, options, variant, plan.previousMbrSaved);
  return plan;
}

} // namespace installer
