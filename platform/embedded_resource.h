// Bytes that the executable carries as resources of the named type "CUSTOM".
#pragma once

#include <cstddef>

namespace bootdeck {

struct ResourceBytes {
  const unsigned char *data;
  std::size_t size;
};

// The resource's bytes, valid for the life of the process. Throws Failure when it is missing.
ResourceBytes loadCustomResource(int id);

} // namespace bootdeck
