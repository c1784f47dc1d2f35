#include "operation/compose.h"

#include "disks/disk_item.h"
#include "operation/command_text.h"

namespace bootdeck {
namespace {

constexpr char kLineBreak[] = "\r\n";
constexpr char kTestModeBanner[] = "*************测试模式*************";

bool mtldr(const OptionSet &options) {
  return options.variant == Variant::Mtldr;
}

// The texts that go unquoted into the command line; see isPlainFileName.
std::string refusalOf(const OptionSet &options) {
  if (!isPlainFileName(options.fileText))
    return "备份/恢复文件名中不能有空格,也不能有以下字符:\r\n\\ / : * ? \" < > | & ^ %\r\n\r\n"
           "文件总是放在 bootdeck.exe 所在的文件夹中,所以框中只填文件名,不能有文件夹或盘符 (\\ "
           "和 :).其他字符是 Windows 文件名中不允许的,或会被命令行误解.";
  const std::string device = deviceNameIn(options.fileText);
  if (!device.empty())
    return "备份/恢复文件名 " + options.fileText + " 是 Windows 的设备名 " + device +
           ",不是文件:安装程序会读写这个设备.\r\n\r\n"
           "设备名有 CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, CONIN$, CONOUT$,"
           "带扩展名也一样 (例如 nul.mbr).\r\n\r\n请换一个文件名.";
  if (endsInDot(options.fileText))
    return "备份/恢复文件名 " + options.fileText +
           " 以点结尾:Windows 会去掉结尾的点,文件就不是状态框里写的那个.\r\n\r\n"
           "请去掉结尾的点,或换一个文件名.";
  if (options.action == Action::Install && !options.advanced.installedFirst &&
      !isTimeOutSeconds(options.advanced.timeOutText))
    return "\"高级\" 中的等待时间必须是 0 到 99 之间的整数 (秒).";
  return {};
}

void addLine(std::string &summary, const std::string &line) {
  summary += kLineBreak;
  summary += line;
}

// A boot-time option that adds a flag only when it is switched off.
struct Switch {
  bool on;
  const char *offFlag;
  const char *offLine;
  const char *onLine;
};

void installSteps(const OptionSet &options, const std::string &filePath, std::string &flags,
                  std::string &summary) {
  const AdvancedOptions &advanced = options.advanced;
  summary = "●安装" + summary;
  flags += (mtldr(options) ? " --save=" : " --save-mbr=") + options.fileText;
  addLine(summary, "●将原来的引导备份到文件:" + filePath);
  const Switch switches[] = {
      {advanced.backupToSecondSector, " --no-backup-mbr", "●不备份原来的MBR到第二扇区.",
       "●同时备份原来的MBR到第二扇区."},
      {advanced.floppySearch, " --mbr-disable-floppy", "●启动时不在软驱上搜索mtldr 或grldr",
       "●启动时在软驱上搜索mtldr 或grldr"},
      {advanced.fallbackOnInvalidTable, " --mbr-disable-osbr",
       "●启动时,分区表非法时不启动原来的MBR", "●启动时,分区表非法时启动原来的MBR"},
  };
  for (const Switch &option : switches) {
    if (!option.on)
      flags += option.offFlag;
    addLine(summary, option.on ? option.onLine : option.offLine);
  }
  if (advanced.installedFirst) {
    addLine(summary, "●优先引导安装的MBR");
    return;
  }
  flags += " --boot-prevmbr-first";
  addLine(summary, "●优先引导原来的MBR");
  flags += " --time-out=" + advanced.timeOutText;
  addLine(summary, "●在启动原来的MBR之前等待" + advanced.timeOutText + "秒.");
}

void uninstallSteps(const OptionSet &options, const std::string &filePath,
                    const FileExists &fileExists, std::string &flags, std::string &summary) {
  summary = "●卸载" + summary;
  if (fileExists(filePath)) {
    flags += (mtldr(options) ? " --restore=" : " --restore-mbr=") + options.fileText;
    addLine(summary, "●您的恢复文件存在:" + filePath + ",所以用恢复文件恢复.");
  } else {
    flags += " --restore-prevmbr";
    addLine(summary, "●您的恢复文件不存在:" + filePath + ",所以用第二扇区恢复.");
  }
}

} // namespace

Composition compose(const OptionSet &options, const std::string &appFolder,
                    const FileExists &fileExists) {
  Composition result;
  result.refusal = refusalOf(options);
  if (result.refused())
    return result;

  std::string flags;
  std::string summary = mtldr(options) ? " ●MTLDR " : " ●GRLDR ";
  const std::string toolPath =
      appFolder + "\\" + (mtldr(options) ? "mtldrinst.exe" : "grldrinst.exe");
  const std::string device = " (hd" + std::to_string(diskNumberOfItem(options.itemText)) + ")";
  addLine(summary, "至●" + options.itemText);

  const std::string filePath = appFolder + "\\" + options.fileText;
  if (options.action == Action::Install)
    installSteps(options, filePath, flags, summary);
  else
    uninstallSteps(options, filePath, fileExists, flags, summary);

  if (options.testMode) {
    const std::string banner = kTestModeBanner;
    summary = banner + kLineBreak + summary + kLineBreak + banner + kLineBreak;
    flags += " --read-only";
  }
  flags += " --pause";

  result.commandLine = "%comspec% /c " + toolPath + flags + device;
  result.summary = summary;
  return result;
}

} // namespace bootdeck
