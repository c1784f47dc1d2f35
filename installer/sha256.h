// SHA-256, to show which of two boot codes is which in a way the user can check elsewhere.
#pragma once

#include "installer/text_buffer.h"

#include <cstddef>
#include <cstdint>

namespace installer {

// Appends the digest of `size` bytes as 64 lowercase hexadecimal digits.
void appendSha256(const std::uint8_t *data, std::size_t size, TextBuffer &out);

} // namespace installer
