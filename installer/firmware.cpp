#include "installer/firmware.h"

namespace installer {

namespace {

constexpr std::uint32_t kFirmwareTypeBios = 1;
constexpr std::uint32_t kFirmwareTypeUefi = 2;
// Firmware without variables (BIOS) answers the variable call with ERROR_INVALID_FUNCTION. A
// privilege that could not be enabled says nothing about the firmware.
constexpr std::uint32_t kErrorInvalidFunction = 1;
constexpr std::uint32_t kErrorPrivilegeNotHeld = 1314;

} // namespace

const char kUefiNote[] =
    "注意:这台电脑是以 UEFI 方式启动的,这时不会运行 MBR 中的启动代码.只有在以传统 BIOS "
    "方式启动的其他"
    "电脑上,或把这台电脑改为以传统 BIOS 方式 (Legacy 或 CSM) 启动后,安装的启动代码才会运行.";

Firmware decideFirmware(const FirmwareAnswers &answers) {
  if (answers.typeCallExists) {
    if (!answers.typeCallSucceeded) {
      return Firmware::Unknown;
    }
    return answers.type == kFirmwareTypeUefi   ? Firmware::Uefi
           : answers.type == kFirmwareTypeBios ? Firmware::Bios
                                               : Firmware::Unknown;
  }
  if (answers.peFirmwareType == kFirmwareTypeBios || answers.peFirmwareType == kFirmwareTypeUefi) {
    return answers.peFirmwareType == kFirmwareTypeUefi ? Firmware::Uefi : Firmware::Bios;
  }
  if (!answers.variableCallExists || answers.variableError == kErrorPrivilegeNotHeld) {
    return Firmware::Unknown;
  }
  return answers.variableError == kErrorInvalidFunction ? Firmware::Bios : Firmware::Uefi;
}

} // namespace installer
