// Writing a file whole.
#pragma once

#include <cstddef>
#include <string>

namespace bootdeck {

// Creates the file or replaces all of its content with `size` bytes. Throws Failure with the
// system's error when the file cannot be opened, written or closed (read-only, in use ...).
void writeWholeFile(const std::string &path, const unsigned char *data, std::size_t size);

} // namespace bootdeck
