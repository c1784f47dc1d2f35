// The size shown for a disk: a number and its unit.
#pragma once

#include <string>

namespace bootdeck {

struct DiskSize {
  std::string number; // rounded to 4 places, halves to even, no trailing zeros, no grouping
  std::string unit;   // " MB" or " GB"
};

// `sizeSum` is a listing's size sum (units of 1024 sectors of 512 bytes). Below 512 MB the size
// is given in MB, from there on in GB. `decimalSeparator` is the user's, e.g. "." or ",".
// Throws std::invalid_argument for a sum that no listing can give (negative, not finite, not a
// whole number of sectors).
DiskSize diskSize(double sizeSum, const std::string &decimalSeparator);

} // namespace bootdeck
