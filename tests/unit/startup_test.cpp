#include "app/failure_report.h"
#include "app/startup_refusal.h"
#include "disks/firmware_notice.h"

#include <gtest/gtest.h>

namespace {

const std::string kEnd = "\r\n\r\n程序将退出.";
const std::string kBlank = "为了您的操作安全,您不能将程序防止在路径有空格的目录\r\n\r\n"
                           "建议您将程序防止在根目录." +
                           kEnd;

std::string characters(const std::string &folder, const std::string &named) {
  return "为了您的操作安全,您不能将程序放在路径中有以下字符的文件夹:" + named +
         ".命令行会误解这些字符.\r\n\r\nbootdeck.exe 现在所在的文件夹:\r\n" + folder +
         "\r\n\r\n请把 bootdeck.exe 复制到路径中没有这些字符,也没有空格的文件夹,例如 C:\\bootdeck,"
         "再运行." +
         kEnd;
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
      {true, "C:\\R&D", characters("C:\\R&D", "\"&\" (和号)")},
      {true, "C:\\a=1;b,c%d%^e|f<g>",
       characters("C:\\a=1;b,c%d%^e|f<g>", "\"|\" (竖线), \"<\" (小于号), \">\" (大于号), "
                                           "\"^\" (脱字符), \"%\" (百分号), \",\" (逗号), "
                                           "\";\" (分号), \"=\" (等号)")},
  };
  for (const auto &c : cases)
    EXPECT_EQ(c.expected, bootdeck::startupRefusal(c.administrator, false, c.folder).value_or(""))
        << c.folder;
  for (const char *folder : {"\\\\server\\share\\boot", "\\\\?\\UNC\\server\\share"}) {
    const std::string prompt = bootdeck::startupRefusal(true, false, folder).value_or("");
    EXPECT_EQ(0u, prompt.find("为了您的操作安全,您不能从网络路径")) << prompt;
    EXPECT_NE(std::string::npos, prompt.find("\r\n" + std::string(folder) + "\r\n")) << prompt;
    EXPECT_NE(std::string::npos, prompt.find("复制到本机磁盘上的文件夹,例如 C:\\bootdeck"))
        << prompt;
    EXPECT_EQ(kEnd, prompt.substr(prompt.size() - kEnd.size()));
  }
  const std::string disabled = bootdeck::startupRefusal(true, true, "C:\\a b&").value_or("");
  EXPECT_EQ(0u, disabled.find("管理员已禁用命令提示符,bootdeck 无法工作.\r\n\r\n")) << disabled;
  EXPECT_EQ(kEnd, disabled.substr(disabled.size() - kEnd.size()));
  const std::string rights = bootdeck::startupRefusal(false, true, "C:\\a b&").value_or("");
  EXPECT_EQ(0u, rights.find("程序没有以管理员身份运行")) << rights;
  EXPECT_NE(std::string::npos, rights.find("右键单击 bootdeck.exe,选择 \"以管理员身份运行\""));
  EXPECT_NE(std::string::npos, rights.find("运行方式...")) << "Windows XP's way";
  EXPECT_NE(std::string::npos, rights.find("\r\nC:\\a b&\r\n")) << "the folder";
  EXPECT_EQ(kEnd, rights.substr(rights.size() - kEnd.size()));
}

// Start-up failures: the file named, the system's text on its own line, and what to do.
TEST(FailureReport, NamesTheFileAndWhatToDo) {
  const std::string end = "\r\n\r\n程序将退出.";
  EXPECT_EQ("运行时错误 '8':\r\n\r\n内存不足。" + end,
            bootdeck::failureReport(8, "内存不足。", ""));
  const struct {
    unsigned long number;
    const char *says;
  } cases[] = {{32, "可能另一个 bootdeck"}, {5, "例如 C:\\bootdeck"}, {1006, "隔离"}};
  for (const auto &c : cases) {
    const std::string report = bootdeck::failureReport(c.number, "SYSTEM", "C:\\b\\grldrinst.exe");
    EXPECT_EQ(0u, report.find("运行时错误 '" + std::to_string(c.number) + "':")) << report;
    EXPECT_NE(std::string::npos, report.find(":\r\nC:\\b\\grldrinst.exe\r\n\r\n")) << report;
    EXPECT_NE(std::string::npos, report.find(c.says)) << report;
    EXPECT_EQ(c.number != 1006, report.find("\r\n\r\nSYSTEM\r\n\r\n") != std::string::npos)
        << report;
    EXPECT_EQ(end, report.substr(report.size() - end.size()));
  }
}

TEST(FirmwareNotice, OneLineBeforeTheWaitingTextOnlyOnUefi) {
  const std::string waiting = ">输出结果-等待您下达指令...";
  EXPECT_EQ(waiting, bootdeck::withFirmwareNotice(installer::Firmware::Bios, waiting));
  EXPECT_EQ(waiting, bootdeck::withFirmwareNotice(installer::Firmware::Unknown, waiting));
  EXPECT_EQ(installer::kUefiNote + std::string("\r\n") + waiting,
            bootdeck::withFirmwareNotice(installer::Firmware::Uefi, waiting));
}

} // namespace
