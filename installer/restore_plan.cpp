#include "installer/restore_plan.h"

#include "installer/boot_record.h"
#include "installer/bootcode/bootcode_layout.h"
#include "installer/install_plan.h"

#include <cstring>

namespace installer {

Outcome checkRestoreTarget(const Sector &mbr) {
  // The restored code lands in bytes 0..439 just as ours does: the same sector 0 may take it.
  return checkWritableMbr(mbr);
}

Outcome checkRestoreFile(const std::uint8_t *data, std::size_t size, Sector &source) {
  if (size != source.size()) {
    return refuse(Refusal::RestoreFileSize, 0, size);
  }
  std::memcpy(source.data(), data, size);
  if (!hasBootSignature(source)) {
    return refuse(Refusal::RestoreFileInvalid);
  }
  if (isOurBootCode(source)) {
    return refuse(Refusal::RestoreFileIsOurs);
  }
  return Outcome();
}

Outcome readPreviousMbr(const Sector &mbr, Disk &disk, Sector &source) {
  if (!isOurBootCode(mbr)) {
    return refuse(Refusal::NotOurBootCode);
  }
  if ((mbr[bootcode::kFlagsOffset] & bootcode::kPreviousMbrSaved) == 0) {
    return refuse(Refusal::PreviousMbrNotSaved);
  }
  const SystemError error = disk.read(bootcode::kPreviousMbrLba, source);
  if (error.failed()) {
    return refuse(Refusal::DiskUnreadable, bootcode::kPreviousMbrLba, 0, error);
  }
  if (!hasBootSignature(source)) {
    return refuse(Refusal::PreviousMbrInvalid);
  }
  if (isOurBootCode(source)) {
    return refuse(Refusal::PreviousMbrIsOurs);
  }
  return Outcome();
}

} // namespace installer
