// Building the disk list: each disk number probed with the installer tool's list mode, its
// listing read from the listing file and turned into an item text.
#pragma once

#include "platform/file_system.h"
#include "platform/process_runner.h"

#include <optional>
#include <string>
#include <vector>

namespace bootdeck {

// What a probe needs: the platform objects the main window holds, where the tool and the listing
// file are, and how the user writes decimals.
struct ProbeContext {
  ProcessRunner &runner;
  FileSystem &files;
  std::string appFolder;
  std::string decimalSeparator;
};

// Runs the list-mode probe of `diskNumber` (hidden, waiting for its end) into a listing file
// made anew and held meanwhile, reads it through the program's own handle, removes it, and
// returns the item text of the disk it finds; nullopt when the tool found none. Throws Failure,
// its text naming the listing file, when the command cannot be started, the file cannot be made,
// read or removed, the listing is longer than 64 KiB or the probe went wrong (listingVerdict),
// or a counted line is no 32-bit hexadecimal number.
std::optional<std::string> probeDiskItem(const ProbeContext &context, int diskNumber);

// Removes the listing file when it is there. Throws Failure when it cannot be deleted.
void removeListingFile(const ProbeContext &context);

// The item texts of the disks 0 to 10 that answer, in probe order. Every failure of
// probeDiskItem passes to the caller.
std::vector<std::string> enumerateDiskItems(const ProbeContext &context);

} // namespace bootdeck
