// The chosen disk probed once more before a tool run writes to it.
#pragma once

#include "disks/enumeration.h"

#include <string>

namespace bootdeck {

// True when a fresh probe of the chosen item's disk gives the same item text again. A disk that
// does not answer, or whose listing cannot be read, counts as changed. A listing file left from
// before is removed first, so it cannot pass for the probe's answer, and the probe's own is
// removed afterwards; a listing file that cannot be deleted throws Failure, as in the
// enumeration.
bool chosenDiskUnchanged(const ProbeContext &context, const std::string &chosenItemText);

} // namespace bootdeck
