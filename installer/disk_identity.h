// What the report names the opened disk by, so the user can tell it is the intended one: an
// image's path and size, or a device's maker and model, bus, size and removability. What the
// system does not tell stays unknown and is left out of the report, never guessed.
#pragma once

#include "installer/device_map.h"
#include "installer/text_buffer.h"

#include <cstddef>
#include <cstdint>

namespace installer {

struct DiskIdentity {
  enum class Removable { Unknown, Yes, No };

  bool image = false; // a file named by the device map
  char path[kMaxPathBytes] = {};
  char vendor[64] = {};
  char product[64] = {};
  std::uint32_t busType = 0; // STORAGE_BUS_TYPE; 0 is BusTypeUnknown
  std::uint64_t bytes = 0;   // 0: unknown
  Removable removable = Removable::Unknown;
};

// Reads a STORAGE_DEVICE_DESCRIPTOR of `size` bytes as the system returned it. Its texts are
// kept only as far as they lie inside the descriptor, as printable ASCII without padding.
void readDeviceDescriptor(const std::uint8_t *data, std::size_t size, DiskIdentity &identity);

// The bus of a STORAGE_BUS_TYPE in words; null when it has none.
const char *busTypeWords(std::uint32_t busType);

// Below 1 GB in whole MB, from there on in GB with one decimal (1 GB = 1024 MB).
void appendSizeText(std::uint64_t bytes, TextBuffer &out);

// The disk `diskName` (e.g. "(hd0)") and what it is, without a full stop: the report goes on.
void appendDiskIdentity(const DiskIdentity &identity, const char *diskName, TextBuffer &out);

} // namespace installer
