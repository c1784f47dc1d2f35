// Asks Windows how it started. Both firmware calls are looked up at run time: GetFirmwareType is
// not on Windows 7 and earlier, and nothing newer than XP may be imported.
#pragma once

#include "installer/firmware.h"

namespace installer {

FirmwareAnswers askFirmware();

} // namespace installer
