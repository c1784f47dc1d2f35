#include "disks/firmware_notice.h"

#include <gtest/gtest.h>

namespace {

using installer::Firmware;

TEST(FirmwareNotice, OneLineBeforeTheWaitingTextOnlyOnUefi) {
  const std::string waiting = ">输出结果-等待您下达指令...";
  EXPECT_EQ(waiting, bootdeck::withFirmwareNotice(Firmware::Bios, waiting));
  EXPECT_EQ(waiting, bootdeck::withFirmwareNotice(Firmware::Unknown, waiting));
  const std::string shown = bootdeck::withFirmwareNotice(Firmware::Uefi, waiting);
  const auto lineEnd = shown.find("\r\n");
  ASSERT_NE(std::string::npos, lineEnd) << shown;
  EXPECT_EQ(waiting, shown.substr(lineEnd + 2));
  EXPECT_EQ(installer::kUefiNote, shown.substr(0, lineEnd));
}

} // namespace
