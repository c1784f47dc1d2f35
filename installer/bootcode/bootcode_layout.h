// How the boot code image is laid out on disk and where the installer configures it.
// The NASM source and the installer both follow these offsets.
#pragma once

#include <cstddef>
#include <cstdint>

namespace bootcode {

constexpr std::size_t kSectorSize = 512;

// Sector 0 of the image goes into the MBR, bytes 0..439 only: the disk signature,
// the partition table and 0x55AA (bytes 440..511) stay as they are on the disk.
constexpr std::size_t kMbrCodeBytes = 440;

// LBA 1 holds the previous MBR; the image's sectors 1..N go to LBA 2..N+1. Each of them ends
// with the layout version (byte 503, from layout 2 on) and our mark (bytes 504..511).
constexpr std::uint32_t kPreviousMbrLba = 1;
constexpr std::uint32_t kFirstExtraLba = 2;
constexpr std::size_t kExtraVersionOffset = 503;
constexpr std::size_t kExtraMagicOffset = 504;

// Configuration block in sector 0, after a 3-byte short jump (EB xx, then a byte other than 90h).
constexpr std::size_t kMagicOffset = 3; // "BDECKMBR": marks our own boot code
constexpr char kMagic[8] = {'B', 'D', 'E', 'C', 'K', 'M', 'B', 'R'};
constexpr std::size_t kVersionOffset = 11; // layout version, kLayoutVersion
constexpr std::size_t kFlagsOffset = 12;
constexpr std::size_t kTimeoutOffset = 13;      // seconds, 0..255
constexpr std::size_t kExtraSectorsOffset = 14; // sectors after LBA 1 that the code uses
constexpr std::size_t kLoaderNameOffset = 15;   // 11 bytes, FAT 8.3 form: "GRLDR      "
constexpr std::size_t kLoaderNameBytes = 11;
constexpr std::size_t kGapChecksumOffset = 26; // 16 bits, little-endian, from layout 3 on
constexpr std::size_t kCodeOffset = 32;        // first byte of code proper

// The layout of the boot code, byte 11. The offsets above, the flags below and the marks are the
// same in every version, so that the tool recognises any earlier install and reads its flags:
// 1: three sectors after LBA 1; 2: four, each carrying the version (sector 0 runs only its own);
// 3: sector 0 runs them only when their checksum is the one the installer wrote beside them.
constexpr std::uint8_t kLayoutVersion = 3;

enum Flags : std::uint8_t {
  kNoFloppySearch = 0x01,   // --mbr-disable-floppy
  kNoPreviousMbr = 0x02,    // --mbr-disable-osbr: never fall back to LBA 1
  kPreviousMbrFirst = 0x04, // --boot-prevmbr-first (with the time-out)
  kPreviousMbrSaved = 0x08, // LBA 1 holds the previous MBR
};

} // namespace bootcode
