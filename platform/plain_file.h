// Whether an open file is only itself. An elevated program that writes or trusts a file in a
// folder other programs can write must not be led elsewhere by a link planted at its name: a
// reparse point (symbolic link, junction) or another name of the same file (hard link).
#pragma once

#include <windows.h>

namespace bootdeck {

// `file` must be opened with FILE_FLAG_OPEN_REPARSE_POINT, so that a link is itself what is
// looked at. False when the system cannot tell (GetLastError says why).
inline bool askPlainFile(HANDLE file, bool &plain) {
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(file, &information))
    return false;
  plain = (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 &&
          information.nNumberOfLinks == 1;
  return true;
}

} // namespace bootdeck
