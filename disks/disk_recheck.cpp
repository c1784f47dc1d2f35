#include "disks/disk_recheck.h"

#include "disks/disk_item.h"
#include "platform/failure.h"

#include <optional>

namespace bootdeck {

bool chosenDiskUnchanged(const ProbeContext &context, const std::string &chosenItemText) {
  std::optional<std::string> now;
  try {
    now = probeDiskItem(context, diskNumberOfItem(chosenItemText));
  } catch (const Failure &) {
    // No usable answer: the disk cannot be confirmed, so nothing may be written to it.
  }
  removeListingFile(context);
  return now == chosenItemText;
}

} // namespace bootdeck
