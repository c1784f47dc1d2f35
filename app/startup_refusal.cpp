#include "app/startup_refusal.h"

namespace bootdeck {

namespace {

const char kEnd[] = "\r\n\r\n程序将退出.";
const char kCopyTo[] = "C:\\bootdeck";
const char kCommandPromptDisabled[] =
    "管理员已禁用命令提示符,bootdeck 无法工作.\r\n\r\n"
    "bootdeck 要通过命令提示符 (cmd.exe) 运行安装程序,才能列出磁盘和写入启动代码.\r\n\r\n"
    "请联系管理员解除组策略 \"阻止访问命令提示符\" 后重新运行.";
const char kBlankInPath[] = "为了您的操作安全,您不能将程序防止在路径有空格的目录\r\n\r\n"
                            "建议您将程序防止在根目录.\r\n\r\n"
                            "程序将退出.";

// The characters the command interpreter acts on, each with the name a user knows it by.
const struct {
  char character;
  const char *name;
} kInterpreterCharacters[] = {{'&', "和号"},   {'|', "竖线"},   {'<', "小于号"},
                              {'>', "大于号"}, {'^', "脱字符"}, {'%', "百分号"},
                              {',', "逗号"},   {';', "分号"},   {'=', "等号"}};

// `"&" (和号), "%" (百分号)`: nothing when the folder holds none.
std::string interpreterCharactersIn(const std::string &folder) {
  std::string found;
  for (const auto &c : kInterpreterCharacters)
    if (folder.find(c.character) != std::string::npos)
      found +=
          (found.empty() ? "\"" : ", \"") + std::string(1, c.character) + "\" (" + c.name + ")";
  return found;
}

std::string currentFolder(const std::string &folder) {
  return "bootdeck.exe 现在所在的文件夹:\r\n" + folder + "\r\n\r\n";
}

} // namespace

std::optional<std::string> startupRefusal(bool administrator, bool commandPromptDisabled,
                                          const std::string &appFolder) {
  if (!administrator)
    return "程序没有以管理员身份运行,无法读写磁盘.\r\n\r\n" + currentFolder(appFolder) +
           "请右键单击 bootdeck.exe,选择 \"以管理员身份运行\" (Windows XP:选择 \"运行方式...\","
           "再选择一个管理员帐户),在提示中单击 \"是\".若 bootdeck.exe 还在压缩文件中,请先把它解压"
           "到一个文件夹,例如 " +
           kCopyTo + "." + kEnd;
  if (commandPromptDisabled)
    return std::string(kCommandPromptDisabled) + kEnd;
  if (appFolder.find(' ') != std::string::npos)
    return kBlankInPath;
  if (appFolder.compare(0, 2, "\\\\") == 0)
    return "为了您的操作安全,您不能从网络路径运行程序:命令行不能在网络路径中工作.\r\n\r\n" +
           currentFolder(appFolder) + "请把 bootdeck.exe 复制到本机磁盘上的文件夹,例如 " + kCopyTo +
           ",再运行." + kEnd;
  const std::string characters = interpreterCharactersIn(appFolder);
  if (!characters.empty())
    return "为了您的操作安全,您不能将程序放在路径中有以下字符的文件夹:" + characters +
           ".命令行会误解这些字符.\r\n\r\n" + currentFolder(appFolder) +
           "请把 bootdeck.exe 复制到路径中没有这些字符,也没有空格的文件夹,例如 " + kCopyTo +
           ",再运行." + kEnd;
  return std::nullopt;
}

} // namespace bootdeck
