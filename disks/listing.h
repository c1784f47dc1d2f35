// Reading the installer tool's partition listing of one disk.
#pragma once

#include <cstdint>
#include <string_view>

namespace bootdeck {

// A listing of this many bytes or fewer means the disk is absent or unreadable.
constexpr std::uint64_t kNoDiskListingBytes = 10;

// True when a listing file of `byteSize` bytes stands for a disk.
bool listingNamesDisk(std::uint64_t byteSize);

// A listing longer than this is no listing of the tool's.
constexpr std::uint64_t kListingLimitBytes = 64 * 1024;

enum class ListingVerdict { NoDisk, Disk, TooLong, FailedProbe };

// What a probe's listing of `byteSize` bytes stands for, with the interpreter's exit code: the
// tool answers 0 with its listing, or 1 with none for a disk it cannot open. Any other answer,
// or a listing beside 1, means the probe itself went wrong (the redirection failed, the tool did
// not run ...), and what the file holds is not the tool's.
ListingVerdict listingVerdict(unsigned long exitCode, std::uint64_t byteSize);

// The size sum of a listing: for each line whose first two characters, trimmed of blanks, are
// "0" to "3" (the primary entries), the last blank-separated field read as hexadecimal sectors,
// divided by 1024. Lines are separated by CR LF. Throws Failure when a counted line's last
// field is empty or not hexadecimal (typeMismatch) or exceeds 32 bits (overflow).
double listingSizeSum(std::string_view listingText);

} // namespace bootdeck
