#include "operation/compose.h"

#include "platform/failure.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

using bootdeck::Action;
using bootdeck::Composition;
using bootdeck::OptionSet;
using bootdeck::Variant;

const std::string kItem = "第1块介质 : 0.5 GB";
const std::string kBanner = "*************测试模式*************";

// Composes with the application folder C:\boot; `asked` records each existence test.
Composition compose(const OptionSet &options, const std::set<std::string> &files,
                    std::vector<std::string> &asked) {
  return bootdeck::compose(options, "C:\\boot", [&](const std::string &path) {
    asked.push_back(path);
    return files.count(path) != 0;
  });
}

OptionSet defaults() {
  OptionSet options;
  options.itemText = kItem;
  options.fileText = "2026-12-7-1";
  return options;
}

std::string joined(const std::vector<std::string> &lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    text += (i == 0 ? "" : "\r\n") + lines[i];
  }
  return text;
}

const std::vector<std::string> kDefaultLines = {"●安装 ●MTLDR ",
                                                "至●" + kItem,
                                                "●将原来的引导备份到文件:C:\\boot\\2026-12-7-1",
                                                "●同时备份原来的MBR到第二扇区.",
                                                "●启动时在软驱上搜索mtldr 或grldr",
                                                "●启动时,分区表非法时启动原来的MBR",
                                                "●优先引导安装的MBR"};

std::vector<std::string> allOffLines(const char *build) {
  return {std::string("●安装 ●") + build + " ",
          "至●" + kItem,
          "●将原来的引导备份到文件:C:\\boot\\b.mbr",
          "●不备份原来的MBR到第二扇区.",
          "●启动时不在软驱上搜索mtldr 或grldr",
          "●启动时,分区表非法时不启动原来的MBR",
          "●优先引导原来的MBR",
          "●在启动原来的MBR之前等待10秒."};
}

void allOff(OptionSet &o, Variant variant) {
  o.variant = variant;
  o.fileText = "b.mbr";
  o.advanced = {false, false, false, false, "10"};
}

// An uninstall ignores the boot options, even an unusable time-out.
void uninstall(OptionSet &o, Variant variant, const char *file) {
  o.action = Action::Uninstall;
  o.variant = variant;
  o.fileText = file;
  o.advanced = {false, false, false, false, "x y"};
}

std::vector<std::string> uninstallLines(const char *build, const std::string &third) {
  return {std::string("●卸载 ●") + build + " ", "至●" + kItem, third};
}

TEST(Compose, CommandAndSummaryFollowTheRuleTable) {
  const std::set<std::string> files = {"C:\\boot\\r.mbr"};
  std::vector<std::string> testMode = kDefaultLines;
  testMode.insert(testMode.begin(), kBanner);
  testMode.insert(testMode.end(), {kBanner, ""});
  const struct {
    const char *name;
    std::function<void(OptionSet &)> set;
    std::string tail;                 // the command line after "%comspec% /c C:\boot\"
    std::vector<std::string> summary; // empty: only the item is checked
    std::vector<std::string> asked;
  } cases[] = {
      {"defaults", [](OptionSet &) {}, "mtldrinst.exe --save=2026-12-7-1 --pause (hd0)",
       kDefaultLines},
      {"all off, MTLDR", [](OptionSet &o) { allOff(o, Variant::Mtldr); },
       "mtldrinst.exe --save=b.mbr --no-backup-mbr --mbr-disable-floppy --mbr-disable-osbr"
       " --boot-prevmbr-first --time-out=10 --pause (hd0)",
       allOffLines("MTLDR")},
      {"all off, GRLDR", [](OptionSet &o) { allOff(o, Variant::Grldr); },
       "grldrinst.exe --save-mbr=b.mbr --no-backup-mbr --mbr-disable-floppy --mbr-disable-osbr"
       " --boot-prevmbr-first --time-out=10 --pause (hd0)",
       allOffLines("GRLDR")},
      {"test mode", [](OptionSet &o) { o.testMode = true; },
       "mtldrinst.exe --save=2026-12-7-1 --read-only --pause (hd0)", testMode},
      {"test mode uninstall",
       [](OptionSet &o) {
         uninstall(o, Variant::Mtldr, "");
         o.testMode = true;
       },
       "mtldrinst.exe --restore-prevmbr --read-only --pause (hd0)",
       {kBanner, "●卸载 ●MTLDR ", "至●" + kItem,
        "●您的恢复文件不存在:C:\\boot\\,所以用第二扇区恢复.", kBanner, ""},
       {"C:\\boot\\"}},
      {"uninstall, existing, MTLDR",
       [](OptionSet &o) { uninstall(o, Variant::Mtldr, "r.mbr"); },
       "mtldrinst.exe --restore=r.mbr --pause (hd0)",
       uninstallLines("MTLDR", "●您的恢复文件存在:C:\\boot\\r.mbr,所以用恢复文件恢复."),
       {"C:\\boot\\r.mbr"}},
      {"uninstall, existing, GRLDR",
       [](OptionSet &o) { uninstall(o, Variant::Grldr, "r.mbr"); },
       "grldrinst.exe --restore-mbr=r.mbr --pause (hd0)",
       uninstallLines("GRLDR", "●您的恢复文件存在:C:\\boot\\r.mbr,所以用恢复文件恢复."),
       {"C:\\boot\\r.mbr"}},
      {"uninstall, missing",
       [](OptionSet &o) { uninstall(o, Variant::Mtldr, "other"); },
       "mtldrinst.exe --restore-prevmbr --pause (hd0)",
       uninstallLines("MTLDR", "●您的恢复文件不存在:C:\\boot\\other,所以用第二扇区恢复."),
       {"C:\\boot\\other"}},
      {"uninstall, empty",
       [](OptionSet &o) { uninstall(o, Variant::Grldr, ""); },
       "grldrinst.exe --restore-prevmbr --pause (hd0)",
       uninstallLines("GRLDR", "●您的恢复文件不存在:C:\\boot\\,所以用第二扇区恢复."),
       {"C:\\boot\\"}},
      {"item 10, empty file, GRLDR",
       [](OptionSet &o) {
         o.itemText = "第10块介质 : 0.5 GB";
         o.fileText = "";
         o.variant = Variant::Grldr;
       },
       "grldrinst.exe --save-mbr= --pause (hd9)",
       {}},
      {"item 11",
       [](OptionSet &o) { o.itemText = "第11块介质 : 2048 GB"; },
       "mtldrinst.exe --save=2026-12-7-1 --pause (hd10)",
       {}},
  };
  for (const auto &c : cases) {
    OptionSet options = defaults();
    c.set(options);
    std::vector<std::string> asked;
    const Composition result = compose(options, files, asked);
    ASSERT_FALSE(result.refused()) << c.name << ": " << result.refusal;
    EXPECT_EQ("%comspec% /c C:\\boot\\" + c.tail, result.commandLine) << c.name;
    if (!c.summary.empty()) {
      EXPECT_EQ(joined(c.summary), result.summary) << c.name;
    } else {
      EXPECT_NE(result.summary.find("\r\n至●" + options.itemText + "\r\n"), std::string::npos);
    }
    EXPECT_EQ(result.summary + "\r\n", result.resultText()) << c.name;
    EXPECT_EQ(c.asked, asked) << c.name;
  }
}

TEST(Compose, ItemWithoutNumberIsAnError) {
  OptionSet options = defaults();
  options.itemText = "";
  std::vector<std::string> asked;
  EXPECT_THROW(compose(options, {}, asked), bootdeck::Failure);
}

TEST(Compose, RefusesTextsTheCommandInterpreterWouldSplitOrAct) {
  const char *const badFiles[] = {
      "a b", "a\tb", " a",  "a&b",  "a^b", "%TEMP%", "a>b", "a<b",
      "a|b", "a\"b", "a/b", "a\\b", "a:b", "a*b",    "a?b", "C:\\backup.mbr",
  };
  for (Action action : {Action::Install, Action::Uninstall}) {
    for (const char *file : badFiles) {
      OptionSet options = defaults();
      options.action = action;
      options.fileText = file;
      std::vector<std::string> asked;
      const Composition c = compose(options, {}, asked);
      EXPECT_TRUE(c.refused() && c.commandLine.empty() && asked.empty()) << file;
    }
  }
  for (const char *file : {"备份.mbr", "a_b.c"}) {
    OptionSet options = defaults();
    options.fileText = file;
    std::vector<std::string> asked;
    EXPECT_FALSE(compose(options, {}, asked).refused()) << file;
  }
}

TEST(Compose, TimeOutMustBeWholeSecondsWhenThePreviousMbrBootsFirst) {
  const struct {
    const char *timeOut;
    bool accepted;
  } cases[] = {
      {"0", true},    {"5", true},   {"05", true},  {"255", true}, {"256", false},
      {"", false},    {" 5", false}, {"5 ", false}, {"-1", false}, {"+1", false},
      {"1.5", false}, {"5&", false}, {"%x", false}, {"x", false},  {"1000", false},
  };
  for (const auto &c : cases) {
    OptionSet options = defaults();
    std::vector<std::string> asked;
    options.advanced.installedFirst = false;
    options.advanced.timeOutText = c.timeOut;
    EXPECT_EQ(!c.accepted, compose(options, {}, asked).refused()) << '"' << c.timeOut << '"';
    // Booting the installed MBR first leaves the time-out unused, so it is not judged.
    options.advanced.installedFirst = true;
    EXPECT_FALSE(compose(options, {}, asked).refused()) << '"' << c.timeOut << '"';
  }
}

} // namespace
