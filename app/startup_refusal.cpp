#include "app/startup_refusal.h"

#include <string_view>

namespace bootdeck {

namespace {

const char kNotAdministrator[] =
    "程序没有以管理员身份运行,无法读写磁盘.\r\n\r\n"
    "请右键单击 bootdeck.exe,选择 \"以管理员身份运行\" "
    "(Windows XP: 选择 \"运行方式...\",再选择一个管理员帐户) 后重新运行.\r\n\r\n"
    "程序将退出.";
const char kCommandPromptDisabled[] =
    "管理员已禁用命令提示符,程序无法工作.\r\n\r\n"
    "程序要通过命令提示符 (cmd.exe) 运行安装程序,才能列出介质和写入引导代码.\r\n\r\n"
    "请联系管理员解除组策略 \"阻止访问命令提示符\" 后重新运行程序.\r\n\r\n"
    "程序将退出.";
const char kBlankInPath[] = "为了您的操作安全,您不能将程序防止在路径有空格的目录\r\n\r\n"
                            "建议您将程序防止在根目录.\r\n\r\n"
                            "程序将退出.";
const char kNetworkPath[] =
    "为了您的操作安全,您不能从网络路径 (\\\\服务器\\共享\\...) 运行程序.\r\n\r\n"
    "建议您将程序复制到本机磁盘的根目录.\r\n\r\n"
    "程序将退出.";
constexpr std::string_view kInterpreterCharacters = "&|<>^%,;=";

std::string interpreterCharactersIn(const std::string &folder) {
  std::string found;
  for (char c : kInterpreterCharacters)
    if (folder.find(c) != std::string::npos)
      found += std::string(found.empty() ? "" : " ") + c;
  return found;
}

} // namespace

std::optional<std::string> startupRefusal(bool administrator, bool commandPromptDisabled,
                                          const std::string &appFolder) {
  if (!administrator)
    return kNotAdministrator;
  if (commandPromptDisabled)
    return kCommandPromptDisabled;
  if (appFolder.find(' ') != std::string::npos)
    return kBlankInPath;
  if (appFolder.compare(0, 2, "\\\\") == 0)
    return kNetworkPath;
  const std::string characters = interpreterCharactersIn(appFolder);
  if (!characters.empty())
    return "为了您的操作安全,您不能将程序放在路径有以下字符的目录: " + characters +
           "\r\n\r\n命令行会误解这些字符.建议您将程序放在根目录.\r\n\r\n程序将退出.";
  return std::nullopt;
}

} // namespace bootdeck
