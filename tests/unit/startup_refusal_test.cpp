#include "app/startup_refusal.h"

#include <gtest/gtest.h>

namespace {

const char kBlank[] = "为了您的操作安全,您不能将程序防止在路径有空格的目录\r\n\r\n"
                      "建议您将程序防止在根目录.\r\n\r\n"
                      "程序将退出.";

std::string characters(const std::string &named) {
  return "为了您的操作安全,您不能将程序放在路径有以下字符的目录: " + named +
         "\r\n\r\n命令行会误解这些字符.建议您将程序放在根目录.\r\n\r\n程序将退出.";
}

TEST(StartupRefusal, FirstReasonThatHoldsInOrderOfRightsBlankNetworkAndCharacters) {
  const struct {
    bool administrator;
    const char *folder;
    std::string expected; // empty: the program may start
  } cases[] = {
      {true, "C:\\boot", ""},
      {true, "C:\\", ""},
      {true, "C:\\全角\xE3\x80\x80空格", ""}, // U+3000 is no blank
      {true, "C:\\last folder", kBlank},
      {true, "C:\\a b\\R&D", kBlank},
      {true, "C:\\R&D", characters("&")},
      {true, "C:\\a=1;b,c%d%^e|f<g>", characters("| < > ^ % , ; =")},
      {true, "C:\\x&y^z", characters("& ^")},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.folder);
    EXPECT_EQ(c.expected, bootdeck::startupRefusal(c.administrator, c.folder).value_or(""));
  }
}

TEST(StartupRefusal, NetworkPathAndMissingRightsSayWhatToDo) {
  const std::string end = "\r\n\r\n程序将退出.";
  for (const char *folder : {"\\\\server\\share\\boot", "\\\\?\\UNC\\server\\share"}) {
    const std::string prompt = bootdeck::startupRefusal(true, folder).value_or("");
    EXPECT_NE(std::string::npos, prompt.find("网络路径")) << prompt;
    EXPECT_NE(std::string::npos, prompt.find("复制到本机")) << prompt;
    EXPECT_EQ(end, prompt.substr(prompt.size() - end.size()));
  }
  // Told first, whatever else is wrong with the folder.
  const std::string rights = bootdeck::startupRefusal(false, "C:\\a b&").value_or("");
  EXPECT_EQ(0u, rights.find("程序没有以管理员身份运行")) << rights;
  EXPECT_NE(std::string::npos, rights.find("右键单击 bootdeck.exe,选择 \"以管理员身份运行\""));
  EXPECT_NE(std::string::npos, rights.find("运行方式...")) << "Windows XP's way";
  EXPECT_EQ(end, rights.substr(rights.size() - end.size()));
}

} // namespace
