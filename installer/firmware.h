// Whether Windows started through UEFI firmware, which never runs the boot code in an MBR. The
// tool and bootdeck both tell the user so; the system's answers are gathered by
// win32_firmware.cpp, the decision and the note stand here.
#pragma once

#include <cstdint>

namespace installer {

enum class Firmware { Unknown, Bios, Uefi };

struct FirmwareAnswers {
  // GetFirmwareType (Windows 8 and later): whether the system has it, whether the call succeeded
  // and the FIRMWARE_TYPE it gave.
  bool typeCallExists = false;
  bool typeCallSucceeded = false;
  std::uint32_t type = 0;
  // WinPE's own answer, HKLM\SYSTEM\CurrentControlSet\Control\PEFirmwareType: 1 BIOS, 2 UEFI;
  // 0 where there is no such value (every Windows that is not WinPE).
  std::uint32_t peFirmwareType = 0;
  // Otherwise GetFirmwareEnvironmentVariableW for an empty name, asked with
  // SeSystemEnvironmentPrivilege enabled: whether the system has it and the error it left (the
  // call always fails for that name).
  bool variableCallExists = false;
  std::uint32_t variableError = 0;
};

Firmware decideFirmware(const FirmwareAnswers &answers);

// One line, for the tool's report and for bootdeck's output box.
extern const char kUefiNote[];

} // namespace installer
