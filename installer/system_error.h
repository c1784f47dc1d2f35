// Errors the system gives for disk and file access, and what they mean to the user: each one is
// put in plain words that name what the user can do about it.
#pragma once

#include "installer/text_buffer.h"

namespace installer {

enum class ErrorOrigin { None, Posix, Windows, EndOfDevice };

struct SystemError {
  ErrorOrigin origin = ErrorOrigin::None;
  long code = 0;

  bool failed() const { return origin != ErrorOrigin::None; }
  static SystemError posix(long code) { return {ErrorOrigin::Posix, code}; }
  static SystemError windows(long code) { return {ErrorOrigin::Windows, code}; }
  static SystemError endOfDevice() { return {ErrorOrigin::EndOfDevice, 0}; }
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
  Other
};

enum class Subject { Disk, File };

ErrorKind classifyError(SystemError error);

// Appends what happened, the system's own code when there is one, and what to do.
void describeError(SystemError error, Subject subject, TextBuffer &out);

} // namespace installer
