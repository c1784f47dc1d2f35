// The notice shown in the result box when Windows started through UEFI: the boot code that
// bootdeck installs then does not run on this machine.
#pragma once

#include "installer/firmware.h"

#include <string>

namespace bootdeck {

// `resultText` with the note as one line before it on UEFI; unchanged otherwise.
std::string withFirmwareNotice(installer::Firmware firmware, const std::string &resultText);

} // namespace bootdeck
