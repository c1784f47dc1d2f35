#include "disks/firmware_notice.h"

namespace bootdeck {

std::string withFirmwareNotice(installer::Firmware firmware, const std::string &resultText) {
  if (firmware != installer::Firmware::Uefi)
    return resultText;
  return installer::kUefiNote + std::string("\r\n") + resultText;
}

} // namespace bootdeck
