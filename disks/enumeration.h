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

// Runs the list-mode probe of `diskNumber` (hidden, waiting for its end) and returns the item
// text of the disk it finds; nullopt when the listing is 10 bytes or fewer. Leaves the listing
// file behind. Throws Failure when the command cannot be started (a stale listing would
// otherwise be taken for this disk's), or the listing file is missing, unreadable or holds a
// counted line that is no 32-bit hexadecimal number.
std::optional<std::string> probeDiskItem(const ProbeContext &context, int diskNumber);

// Removes the listing file when it is there. Throws Failure when it cannot be deleted.
void removeListingFile(const ProbeContext &context);

// The item texts of the disks 0 to 10 that answer, in probe order; the listing file is removed
// at the end. Every failure of probeDiskItem or removeListingFile passes to the caller.
std::vector<std::string> enumerateDiskItems(const ProbeContext &context);

} // namespace bootdeck
