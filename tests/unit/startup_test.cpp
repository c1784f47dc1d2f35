#include "app/startup_refusal.h"
#include "disks/firmware_notice.h"

#include <gtest/gtest.h>

namespace {

const std::string kEnd = "\r\n\r\n程序将退出.";
const std::string kBlank = "为了您的操作安全,您不能将程序防止在路径有空格的目录\r\n\r\n"
                           "建议您将程序防止在根目录." +
                           kEnd;

std::string characters(const std::string &named) {
  return "为了您的操作安全,您不能将程序放在路径有以下字符的目录: " + named +
         "\r\n\r\n命令行会误解这些字符.建议您将程序放在根目录." + kEnd;
}

// The first reason that holds, in this order: rights, the command prompt disabled, a blank, a
// network path, characters.
TEST(StartupRefusal, RightsBlankNetworkPathAndCharacters) {
  const struct {
    bool administrator;
    const char *folder;
    std::string expected; // empty: the program may start
  } cases[] = {
      {true, "C:\\boot", ""},
      {true, "C:\\", ""},
      {true, "C:\\全角\xE3\x80\x80空格", ""}, // U+3000 is no blank
      {true, "C:\\a b\\R&D", kBlank},
      {true, "C:\\R&D", characters("&")},
      {true, "C:\\a=1;b,c%d%^e|f<g>", characters("| < > ^ % , ; =")},
  };
  for (const auto &c : cases)
    EXPECT_EQ(c.expected, bootdeck::startupRefusal(c.administrator, false, c.folder).value_or(""))
        << c.folder;
  for (const char *folder : {"\\\\server\\share\\boot", "\\\\?\\UNC\\server\\share"}) {
    const std::string prompt = bootdeck::startupRefusal(true, false, folder).value_or("");
    EXPECT_EQ(0u, prompt.find("为了您的操作安全,您不能从网络路径")) << prompt;
    EXPECT_NE(std::string::npos, prompt.find("复制到本机")) << prompt;
    EXPECT_EQ(kEnd, prompt.substr(prompt.size() - kEnd.size()));
  }
  const std::string disabled = bootdeck::startupRefusal(true, true, "C:\\a b&").value_or("");
  EXPECT_EQ(0u, disabled.find("管理员已禁用命令提示符,程序无法工作.\r\n\r\n")) << disabled;
  EXPECT_EQ(kEnd, disabled.substr(disabled.size() - kEnd.size()));
  const std::string rights = bootdeck::startupRefusal(false, true, "C:\\a b&").value_or("");
  EXPECT_EQ(0u, rights.find("程序没有以管理员身份运行")) << rights;
  EXPECT_NE(std::string::npos, rights.find("右键单击 bootdeck.exe,选择 \"以管理员身份运行\""));
  EXPECT_NE(std::string::npos, rights.find("运行方式...")) << "Windows XP's way";
  EXPECT_EQ(kEnd, rights.substr(rights.size() - kEnd.size()));
}

TEST(FirmwareNotice, OneLineBeforeTheWaitingTextOnlyOnUefi) {
  const std::string waiting = ">输出结果-等待您下达指令...";
  EXPECT_EQ(waiting, bootdeck::withFirmwareNotice(installer::Firmware::Bios, waiting));
  EXPECT_EQ(waiting, bootdeck::withFirmwareNotice(installer::Firmware::Unknown, waiting));
  EXPECT_EQ(installer::kUefiNote + std::string("\r\n") + waiting,
            bootdeck::withFirmwareNotice(installer::Firmware::Uefi, waiting));
}

} // namespace
