// One 512-byte sector and little-endian field access, the unit of every disk transfer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace installer {

using Sector = std::array<std::uint8_t, 512>;

inline std::uint32_t readLe32(const Sector &s, std::size_t offset) {
  return static_cast<std::uint32_t>(s[offset]) | static_cast<std::uint32_t>(s[offset + 1]) << 8 |
         static_cast<std::uint32_t>(s[offset + 2]) << 16 |
         static_cast<std::uint32_t>(s[offset + 3]) << 24;
}

inline bool hasBootSignature(const Sector &s) {
  return s[510] == 0x55 && s[511] == 0xAA;
}

inline bool isAllZero(const Sector &s) {
  for (std::uint8_t b : s) {
    if (b != 0) {
      return false;
    }
  }
  return true;
}

} // namespace installer
