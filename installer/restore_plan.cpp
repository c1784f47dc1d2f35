#include "installer/restore_plan.h"

#include "installer/boot_record.h"
#include "installer/bootcode/bootcode_layout.h"
#include "installer/partition_table.h"

#include <cstring>

namespace installer {

namespace {

Outcome refuse(Refusal refusal, std::uint64_t value = 0) {
  Outcome outcome;
  outcome.refusal = refusal;
  outcome.value = value;
  return outcome;
}

} // namespace

Outcome checkRestoreTarget(const Sector &mbr) {
  if (!hasBootSignature(mbr)) {
    return refuse(Refusal::NoBootSignature);
  }
  if (hasGptProtectiveEntry(mbr)) {
    return refuse(Refusal::Gpt);
  }
  return Outcome();
}

Outcome checkRestoreFile(const std::uint8_t *data, std::size_t size, Sector &source) {
  if (size != source.size()) {
    return refuse(Refusal::RestoreFileSize, size);
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
    Outcome outcome = refuse(Refusal::DiskUnreadable);
    outcome.lba = bootcode::kPreviousMbrLba;
    outcome.error = error;
    return outcome;
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
