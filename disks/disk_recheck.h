// The chosen disk probed once more before a tool run writes to it.
#pragma once

#include "disks/enumeration.h"

#include <string>

namespace bootdeck {

// True when a fresh probe of the chosen item's disk gives the same item text again. A disk that
// does not answer, or whose probe fails, counts as changed. A listing file that a failed probe
// left is removed afterwards; one that cannot be deleted throws Failure, as in the enumeration.
bool chosenDiskUnchanged(const ProbeContext &context, const std::string &chosenItemText);

} // namespace bootdeck
