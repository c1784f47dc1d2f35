// Reading the installer tool's partition listing of one disk.
#pragma once

#include <cstdint>
#include <string_view>

namespace bootdeck {

// A listing of this many bytes or fewer means the disk is absent or unreadable.
constexpr std::uint64_t kNoDiskListingBytes = 10;

// True when a listing file of `byteSize` bytes stands for a disk.
bool listingNamesDisk(std::uint64_t byteSize);

// The size sum of a listing: for each line whose first two characters, trimmed of blanks, are
// "0" to "3" (the primary entries), the last blank-separated field read as hexadecimal sectors,
// divided by 1024. Lines are separated by CR LF. Throws Failure when a counted line's last
// field is empty or not hexadecimal (typeMismatch) or exceeds 32 bits (overflow).
double listingSizeSum(std::string_view listingText);

} // namespace bootdeck
