#include "installer/boot_record.h"

#include "installer/bootcode/bootcode_layout.h"

#include <cstring>

namespace installer {

bool isOurBootCode(const Sector &sector) {
  return std::memcmp(sector.data() + bootcode::kMagicOffset, bootcode::kMagic,
                     sizeof bootcode::kMagic) == 0;
}

bool isOurExtraSector(const Sector &sector) {
  return std::memcmp(sector.data() + bootcode::kExtraMagicOffset, bootcode::kMagic,
                     sizeof bootcode::kMagic) == 0;
}

std::uint8_t bootFlags(const Options &options, bool previousMbrSaved) {
  std::uint8_t flags = 0;
  if (options.disableFloppy) {
    flags |= bootcode::kNoFloppySearch;
  }
  if (options.disableOsbr) {
    flags |= bootcode::kNoPreviousMbr;
  }
  if (options.previousMbrFirst) {
    flags |= bootcode::kPreviousMbrFirst;
  }
  if (previousMbrSaved) {
    flags |= bootcode::kPreviousMbrSaved;
  }
  return flags;
}

std::uint16_t gapChecksum(const std::uint8_t *bytes, std::size_t size) {
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    sum = static_cast<std::uint16_t>(((sum << 1) | (sum >> 15)) + (bytes[i] | bytes[i + 1] << 8));
  }
  return sum;
}

Sector withTableOf(const Sector &code, const Sector &disk) {
  Sector result = disk;
  std::memcpy(result.data(), code.data(), bootcode::kMbrCodeBytes);
  return result;
}

Sector composeBootSector(const BootImage &image, const Sector &disk, const Options &options,
                         const Variant &variant, bool previousMbrSaved) {
  Sector code;
  std::memcpy(code.data(), image.bytes, code.size());
  code[bootcode::kFlagsOffset] = bootFlags(options, previousMbrSaved);
  code[bootcode::kTimeoutOffset] = static_cast<std::uint8_t>(options.timeout);
  code[bootcode::kExtraSectorsOffset] = static_cast<std::uint8_t>(image.extraSectors());
  const std::uint16_t sum = gapChecksum(image.bytes + code.size(), image.size - code.size());
  code[bootcode::kGapChecksumOffset] = static_cast<std::uint8_t>(sum);
  code[bootcode::kGapChecksumOffset + 1] = static_cast<std::uint8_t>(sum >> 8);
  std::memcpy(code.data() + bootcode::kLoaderNameOffset, variant.loaderName,
              bootcode::kLoaderNameBytes);
  return withTableOf(code, disk);
}

} // namespace installer
