// Errors the system gives for disk and file access, and what they mean to the user: each one is
// put in plain words that name what the user can do about it.
#pragma once

#include "installer/text_buffer.h"

namespace installer {

// The last two are the tool's own refusals of what the system would have done.
enum class ErrorOrigin { None, Posix, Windows, EndOfDevice, LinkedFile, MapOutsideWine };

struct SystemError {
  ErrorOrigin origin = ErrorOrigin::None;
  long code = 0;

  bool failed() const { return origin != ErrorOrigin::None; }
  static SystemError posix(long code) { return {ErrorOrigin::Posix, code}; }
  static SystemError windows(long code) { return {ErrorOrigin::Windows, code}; }
  static SystemError endOfDevice() { return {ErrorOrigin::EndOfDevice, 0}; }
  // A file that is a reparse point (symbolic link, junction) or has more than one name.
  static SystemError linkedFile() { return {ErrorOrigin::LinkedFile, 0}; }
  static SystemError mapOutsideWine() { return {ErrorOrigin::MapOutsideWine, 0}; }
};

enum class ErrorKind {
  AccessDenied,
  SharingViolation,
  NotReady,
  NotFound,
  WriteProtected,
  DeviceFault,
  IsFolder,
  NoSpace,
  EndOfDevice,
  LinkedFile,
  MapOutsideWine,
  Other
};

enum class Subject { Disk, File };

ErrorKind classifyError(SystemError error);

// Appends what happened, the system's own code when there is one, and what to do.
void describeError(SystemError error, Subject subject, TextBuffer &out);

} // namespace installer
