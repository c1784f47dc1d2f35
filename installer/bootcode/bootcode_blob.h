// The assembled boot code image, a whole number of 512-byte sectors.
#pragma once

#include <cstddef>

namespace bootcode {

extern const unsigned char kImage[];
extern const std::size_t kImageSize;

} // namespace bootcode
