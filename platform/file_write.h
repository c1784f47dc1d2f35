// Writing a file whole, and holding a written file unchanged.
#pragma once

#include "platform/scoped.h"

#include <windows.h>

#include <cstddef>
#include <string>

namespace bootdeck {

// Removes what stands under the name (a link as a link, never what it points to) and creates a
// new file there, so that an elevated program never writes through a planted link. A link put
// there between the two steps is a taken name to CREATE_NEW, never followed. Throws Failure
// naming the file.
ScopedFile createAnew(const std::string &path, DWORD access, DWORD share);

// Makes the file anew with `size` bytes; an existing file of that name is removed first. Throws
// Failure with the system's error when the file cannot be removed, created, written or closed
// (read-only, in use ...).
void writeWholeFile(const std::string &path, const unsigned char *data, std::size_t size);

// Opens the file for reading, shared for reading only, and checks that it holds exactly `size`
// bytes equal to `data`. While the returned handle lives, no other program can change, remove or
// rename the file, but it can still read and run it. Throws Failure when the file cannot be
// opened that way, is a link or has another name, or its content differs.
ScopedFile holdFileWithContent(const std::string &path, const unsigned char *data,
                               std::size_t size);

} // namespace bootdeck
