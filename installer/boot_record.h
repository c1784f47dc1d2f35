// Sector 0 as the tool sees it: whether it may be written, whether it holds our own boot code,
// and the new sector 0 made of our code and the disk's own table.
#pragma once

#include "installer/arguments.h"
#include "installer/sector.h"

#include <cstddef>
#include <cstdint>

namespace installer {

struct BootImage {
  const std::uint8_t *bytes;
  std::size_t size; // a whole number of sectors, at least one
  std::uint32_t extraSectors() const { return static_cast<std::uint32_t>(size / 512 - 1); }
};

bool isOurBootCode(const Sector &sector);
// An extra sector of our image, recognised in the gap by its trailing mark.
bool isOurExtraSector(const Sector &sector);

std::uint8_t bootFlags(const Options &options, bool previousMbrSaved);

// What sector 0 computes over the gap sectors before it runs them: each 16-bit little-endian
// word added to the sum rotated left by one, so that a byte changed anywhere, or moved, shows.
std::uint16_t gapChecksum(const std::uint8_t *bytes, std::size_t size);

// Our code and configuration in bytes 0..439; disk signature, table and 0x55AA from `disk`.
Sector composeBootSector(const BootImage &image, const Sector &disk, const Options &options,
                         const Variant &variant, bool previousMbrSaved);

// Bytes 0..439 from `code`, the rest (disk signature, today's table, 0x55AA) from `disk`.
Sector withTableOf(const Sector &code, const Sector &disk);

} // namespace installer
