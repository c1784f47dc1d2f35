// The text of a disk list item, "第" + item number + "块介质 : " + size + unit, and reading it
// back. The item number is the disk number + 1; the item's position in the list is not.
#pragma once

#include <string>

#include "disks/size_text.h"

namespace bootdeck {

std::string diskItemText(int diskNumber, const DiskSize &size);

// The run of decimal digits that follows the leading "第". Throws Failure when the text does
// not start that way (typeMismatch) or the number is absurdly large (overflow).
int itemNumber(const std::string &itemText);

// itemNumber - 1.
int diskNumberOfItem(const std::string &itemText);

} // namespace bootdeck
