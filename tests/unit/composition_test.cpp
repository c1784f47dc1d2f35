#include "operation/compose.h"
#include "operation/time_out.h"

#include "platform/failure.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using bootdeck::Action;
using bootdeck::OptionSet;
using bootdeck::Variant;

const std::string kItem = "第11块介质 : 0.5 GB"; // disk 10
const std::string kBanner = "*************测试模式*************\r\n";
const std::string kOn = "●同时备份原来的MBR到第二扇区.\r\n●启动时在软驱上搜索mtldr 或grldr\r\n"
                        "●启动时,分区表非法时启动原来的MBR\r\n●优先引导安装的MBR";
const std::string kOff = "●不备份原来的MBR到第二扇区.\r\n●启动时不在软驱上搜索mtldr 或grldr\r\n"
                         "●启动时,分区表非法时不启动原来的MBR\r\n●优先引导原来的MBR\r\n"
                         "●在启动原来的MBR之前等待10秒.";
const std::string kRestore = "●您的恢复文件存在:C:\\boot\\r.mbr,所以用恢复文件恢复.";
const std::string kSecond = "●您的恢复文件不存在:C:\\boot\\,所以用第二扇区恢复.";

// Composes in the application folder C:\boot, where only r.mbr exists; `asked` records the
// existence tests.
bootdeck::Composition compose(const OptionSet &options, std::vector<std::string> *asked) {
  return bootdeck::compose(options, "C:\\boot", [asked](const std::string &path) {
    asked->push_back(path);
    return path == "C:\\boot\\r.mbr";
  });
}

OptionSet options(Action action, Variant variant, const char *file) {
  return {action, variant, kItem, file, false, {}};
}

TEST(Composition, CommandAndSummaryOfEachChoice) {
  const OptionSet allOff = {Action::Install, Variant::Grldr, kItem,
                            "b.mbr",         true,           {false, false, false, false, "10"}};
  // An uninstall never judges the time-out.
  const OptionSet uninstallTest = {
      Action::Uninstall, Variant::Mtldr, kItem, "", true, {true, true, true, false, "x y"}};
  const struct {
    OptionSet options;
    std::string tail; // after "%comspec% /c C:\boot\"
    std::string summary;
  } cases[] = {
      {options(Action::Install, Variant::Mtldr, "d-1"), "mtldrinst.exe --save=d-1 --pause (hd10)",
       "●安装 ●MTLDR \r\n至●" + kItem + "\r\n●将原来的引导备份到文件:C:\\boot\\d-1\r\n" + kOn},
      {allOff,
       "grldrinst.exe --save-mbr=b.mbr --no-backup-mbr --mbr-disable-floppy --mbr-disable-osbr"
       " --boot-prevmbr-first --time-out=10 --read-only --pause (hd10)",
       kBanner + "●安装 ●GRLDR \r\n至●" + kItem +
           "\r\n●将原来的引导备份到文件:C:\\boot\\b.mbr\r\n" + kOff + "\r\n" + kBanner},
      {options(Action::Uninstall, Variant::Mtldr, "r.mbr"),
       "mtldrinst.exe --restore=r.mbr --pause (hd10)",
       "●卸载 ●MTLDR \r\n至●" + kItem + "\r\n" + kRestore},
      {options(Action::Uninstall, Variant::Grldr, "r.mbr"),
       "grldrinst.exe --restore-mbr=r.mbr --pause (hd10)",
       "●卸载 ●GRLDR \r\n至●" + kItem + "\r\n" + kRestore},
      {uninstallTest, "mtldrinst.exe --restore-prevmbr --read-only --pause (hd10)",
       kBanner + "●卸载 ●MTLDR \r\n至●" + kItem + "\r\n" + kSecond + "\r\n" + kBanner},
      {options(Action::Uninstall, Variant::Grldr, ""),
       "grldrinst.exe --restore-prevmbr --pause (hd10)",
       "●卸载 ●GRLDR \r\n至●" + kItem + "\r\n" + kSecond},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.tail);
    std::vector<std::string> asked;
    const bootdeck::Composition result = compose(c.options, &asked);
    EXPECT_EQ("", result.refusal);
    EXPECT_EQ("%comspec% /c C:\\boot\\" + c.tail, result.commandLine);
    EXPECT_EQ(c.summary, result.summary);
    EXPECT_EQ(c.summary + "\r\n", result.resultText());
    // Only an uninstall asks whether its restore file exists.
    const std::vector<std::string> expected = {"C:\\boot\\" + c.options.fileText};
    EXPECT_EQ(c.options.action == Action::Uninstall ? expected : std::vector<std::string>{}, asked);
  }
  OptionSet noItem = options(Action::Install, Variant::Mtldr, "b");
  noItem.itemText = "";
  std::vector<std::string> asked;
  EXPECT_THROW(compose(noItem, &asked), bootdeck::Failure);
}

TEST(Composition, RefusesFileAndTimeOutTextsTheCommandLineCannotHold) {
  for (const char *file : {"a b", "a\tb", " a", "a&b", "a^b", "%TEMP%", "a>b", "a<b", "a|b", "a\"b",
                           "a/b", "a\\b", "a:b", "a*b", "a?b", "备份.mbr", "a_b.c"}) {
    const bool plain = std::string(file) == "备份.mbr" || std::string(file) == "a_b.c";
    for (Action action : {Action::Install, Action::Uninstall}) {
      std::vector<std::string> asked;
      const auto result = compose(options(action, Variant::Mtldr, file), &asked);
      EXPECT_EQ(!plain, result.refused()) << file;
      EXPECT_EQ(plain, !result.commandLine.empty() || !asked.empty()) << file;
    }
  }
  // Judged only when the previous MBR boots first after it.
  const std::pair<const char *, bool> timeOuts[] = {
      {"0", true},   {"05", true},  {"255", true},  {"256", false}, {"", false}, {" 5", false},
      {"5 ", false}, {"-1", false}, {"1.5", false}, {"5&", false},  {"x", false}};
  for (const auto &[timeOut, seconds] : timeOuts) {
    OptionSet o = options(Action::Install, Variant::Mtldr, "b");
    o.advanced.timeOutText = timeOut;
    std::vector<std::string> asked;
    EXPECT_FALSE(compose(o, &asked).refused()) << '"' << timeOut << '"';
    o.advanced.installedFirst = false;
    const auto result = compose(o, &asked);
    EXPECT_EQ(seconds ? "" : "\"高级\" 中的等待时间必须是 0 到 99 之间的整数 (秒).", result.refusal)
        << '"' << timeOut << '"';
    EXPECT_EQ(seconds, !result.commandLine.empty()) << '"' << timeOut << '"';
  }
}

// Names Windows opens as a device or changes: refused in either action, each with its reason.
TEST(Composition, RefusesDeviceNamesAndNamesEndingInADot) {
  const std::pair<const char *, const char *> cases[] = {
      {"con", "CON"},
      {"Nul.mbr", "NUL"},
      {"aux.tar.gz", "AUX"},
      {"PRN", "PRN"},
      {"com1", "COM1"},
      {"LPT9.bak", "LPT9"},
      {"conin$", "CONIN$"},
      {"CONOUT$.x", "CONOUT$"},
      {"com\xC2\xB9", "COM\xC2\xB9"},
      {"a.", nullptr},
      {"..", nullptr},
      {"com0", ""},
      {"com10", ""},
      {"lpt", ""},
      {"nul_", ""},
      {"connect.mbr", ""},
      {"x.nul", ""},
      {"con$", ""},
      {".mbr", ""},
  };
  for (const auto &[file, device] : cases) {
    for (Action action : {Action::Install, Action::Uninstall}) {
      std::vector<std::string> asked;
      const auto result = compose(options(action, Variant::Mtldr, file), &asked);
      const std::string named = "备份/恢复文件名 " + std::string(file) + " ";
      if (!device)
        EXPECT_EQ(0u, result.refusal.find(named + "以点结尾:Windows 会去掉结尾的点")) << file;
      else if (*device)
        EXPECT_EQ(0u, result.refusal.find(named + "是 Windows 的设备名 " + device + ",不是文件"))
            << file;
      else
        EXPECT_EQ("", result.refusal) << file;
      EXPECT_EQ(device && !*device, !result.commandLine.empty() || !asked.empty()) << file;
    }
  }
}

// The dialog's confirmation reads the time-out as Basic's integer conversion does.
TEST(Composition, ConfirmedTimeOutRoundsHalvesToEvenWithin16Bits) {
  const std::pair<const char *, const char *> cases[] = {
      {"07", "7"},          {" 7", "7"},          {"\t 12 ", "12"},    {"-3", "-3"},
      {"+4", "4"},          {"-0", "0"},          {"2.5", "2"},        {"3.5", "4"},
      {"-2.5", "-2"},       {"-3.5", "-4"},       {"0.5", "0"},        {".5", "0"},
      {"2.50001", "3"},     {"2.4999", "2"},      {"5.", "5"},         {"32767.4", "32767"},
      {"-32768", "-32768"}, {"32767.5", nullptr}, {"-32769", nullptr}, {"", nullptr},
      {" ", nullptr},       {"-", nullptr},       {".", nullptr},      {"5a", nullptr},
      {"1 2", nullptr},     {"--1", nullptr},     {"1.2.3", nullptr},  {"0x10", nullptr},
      {"５", nullptr},
  };
  for (const auto &[text, confirmed] : cases)
    EXPECT_EQ(confirmed ? std::optional<std::string>(confirmed) : std::nullopt,
              bootdeck::confirmedTimeOutText(text))
        << '"' << text << '"';
}

} // namespace
