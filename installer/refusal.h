// Why the tool stops without finishing, with the details its message needs.
#pragma once

#include "installer/system_error.h"
#include "installer/text_buffer.h"

#include <cstdint>

namespace installer {

enum class Refusal {
  None,
  DiskUnavailable, // error
  SectorSize,      // value: the disk's sector size
  DiskUnreadable,  // lba, error
  NoBootSignature,
  Gpt,
  NoPartitionTable, // status bytes other than 00/80
  VolumeBootSector,
  GapTooSmall, // lba: last sector needed, value: first partition's start
  GapInUse,    // lba
  SecondSectorInUse,
  NotOurBootCode,
  PreviousMbrNotSaved,
  PreviousMbrInvalid,
  PreviousMbrIsOurs,
  RestoreFileUnreadable, // error
  RestoreFileSize,       // value: bytes
  RestoreFileInvalid,
  RestoreFileIsOurs,
  BackupFileDiffers,
  ReinstallBackupFile, // sector 0 holds our code: a backup of it would be no backup
  BackupFileUnusable,  // error
  BackupFileMismatch,
  Declined,            // the user did not answer Y
  BitLockerNotAsked,   // no console to ask at, and no --bitlocker-ok
  RestoreFileNotAsked, // it differs from sector 1's, and no console to ask at
  WriteFailed,         // lba, error
  VerifyFailed,        // lba
};

struct Outcome {
  Refusal refusal = Refusal::None;
  std::uint64_t lba = 0;
  std::uint64_t value = 0;
  SystemError error;

  bool refused() const { return refusal != Refusal::None; }
};

// The details a refusal's message needs: the sector, a number, the system's error.
inline Outcome refuse(Refusal refusal, std::uint64_t lba = 0, std::uint64_t value = 0,
                      SystemError error = SystemError()) {
  Outcome outcome;
  outcome.refusal = refusal;
  outcome.lba = lba;
  outcome.value = value;
  outcome.error = error;
  return outcome;
}

// What happened and why, then what to do; `disk` and `file` name the device and the file the
// message is about. What became of the disk is the caller's to say.
void describeRefusal(const Outcome &outcome, const char *disk, const char *file, TextBuffer &out);

// 第一扇区 and 第二扇区 are LBA 0 and 1, as bootdeck's own window calls them; any other sector is
// " N 号扇区" with N its LBA (the blank parts it from the Chinese before it), so the two
// numberings never meet.
void appendSectorName(std::uint64_t lba, TextBuffer &out);

} // namespace installer
