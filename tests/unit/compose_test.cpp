#include "operation/compose.h"

#include "platform/failure.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using bootdeck::Action;
using bootdeck::compose;
using bootdeck::Composition;
using bootdeck::OptionSet;
using bootdeck::Variant;

const std::string kFolder = "C:\\boot";
const std::string kItem = "第1块介质 : 0.5 GB";

// The file system as the composition sees it: the paths of existing files.
struct FakeFiles {
  std::set<std::string> files;
  mutable std::vector<std::string> asked;
  bootdeck::FileExists callable() const {
    return [this](const std::string &path) {
      asked.push_back(path);
      return files.count(path) != 0;
    };
  }
};

OptionSet defaults() {
  OptionSet options;
  options.itemText = kItem;
  options.fileText = "2026-12-7-1";
  return options;
}

Composition composeWith(const OptionSet &options, const FakeFiles &files = {}) {
  return compose(options, kFolder, files.callable());
}

std::vector<std::string> lines(const std::string &text) {
  std::vector<std::string> result;
  std::string::size_type start = 0;
  for (auto end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
    result.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  result.push_back(text.substr(start));
  return result;
}

TEST(Compose, DefaultsSaveToTheFileAndKeepEveryBootOption) {
  const Composition c = composeWith(defaults());
  ASSERT_FALSE(c.refused()) << c.refusal;
  EXPECT_EQ("%comspec% /c C:\\boot\\mtldrinst.exe --save=2026-12-7-1 --pause (hd0)", c.commandLine);
  const std::vector<std::string> expected = {
      "●安装 ●MTLDR ",
      "至●" + kItem,
      "●将原来的引导备份到文件:C:\\boot\\2026-12-7-1",
      "●同时备份原来的MBR到第二扇区.",
      "●启动时在软驱上搜索mtldr 或grldr",
      "●启动时,分区表非法时启动原来的MBR",
      "●优先引导安装的MBR",
  };
  EXPECT_EQ(expected, lines(c.summary));
  EXPECT_EQ(c.summary + "\r\n", c.resultText());
}

TEST(Compose, EveryBootOptionOffAddsItsFlagInOrder) {
  struct Case {
    Variant variant;
    const char *command;
  };
  const Case cases[] = {
      {Variant::Mtldr, "%comspec% /c C:\\boot\\mtldrinst.exe --save=b.mbr --no-backup-mbr"
                       " --mbr-disable-floppy --mbr-disable-osbr --boot-prevmbr-first"
                       " --time-out=10 --pause (hd0)"},
      {Variant::Grldr, "%comspec% /c C:\\boot\\grldrinst.exe --save-mbr=b.mbr --no-backup-mbr"
                       " --mbr-disable-floppy --mbr-disable-osbr --boot-prevmbr-first"
                       " --time-out=10 --pause (hd0)"},
  };
  for (const Case &test : cases) {
    OptionSet options = defaults();
    options.variant = test.variant;
    options.fileText = "b.mbr";
    options.advanced = {false, false, false, false, "10"};
    const Composition c = composeWith(options);
    EXPECT_EQ(test.command, c.commandLine);
    const std::vector<std::string> summary = lines(c.summary);
    const std::vector<std::string> expected = {
        test.variant == Variant::Mtldr ? "●安装 ●MTLDR " : "●安装 ●GRLDR ",
        "至●" + kItem,
        "●将原来的引导备份到文件:C:\\boot\\b.mbr",
        "●不备份原来的MBR到第二扇区.",
        "●启动时不在软驱上搜索mtldr 或grldr",
        "●启动时,分区表非法时不启动原来的MBR",
        "●优先引导原来的MBR",
        "●在启动原来的MBR之前等待10秒.",
    };
    EXPECT_EQ(expected, summary);
  }
}

TEST(Compose, EmptyFileTextStillGivesTheSaveFlag) {
  OptionSet options = defaults();
  options.fileText = "";
  EXPECT_EQ("%comspec% /c C:\\boot\\mtldrinst.exe --save= --pause (hd0)",
            composeWith(options).commandLine);
  options.variant = Variant::Grldr;
  EXPECT_EQ("%comspec% /c C:\\boot\\grldrinst.exe --save-mbr= --pause (hd0)",
            composeWith(options).commandLine);
}

TEST(Compose, TestModeFramesTheSummaryAndWritesNothing) {
  const std::string banner = "*************测试模式*************";
  for (Action action : {Action::Install, Action::Uninstall}) {
    OptionSet options = defaults();
    options.action = action;
    options.testMode = true;
    const Composition c = composeWith(options);
    const std::string tail = " --read-only --pause (hd0)";
    EXPECT_EQ(tail, c.commandLine.substr(c.commandLine.size() - tail.size()));
    const std::vector<std::string> summary = lines(c.summary);
    ASSERT_GE(summary.size(), 4u);
    EXPECT_EQ(banner, summary.front());
    EXPECT_EQ(action == Action::Install ? "●安装 ●MTLDR " : "●卸载 ●MTLDR ", summary[1]);
    EXPECT_EQ(banner, summary[summary.size() - 2]);
    EXPECT_EQ("", summary.back());
    const std::string result = c.resultText();
    EXPECT_EQ(banner + "\r\n\r\n", result.substr(result.size() - banner.size() - 4));
  }
}

TEST(Compose, UninstallRestoresFromAnExistingFileElseFromTheSecondSector) {
  struct Case {
    const char *name;
    Variant variant;
    std::string fileText;
    std::set<std::string> files;
    const char *flag;
    std::string line;
  };
  const Case cases[] = {
      {"existing, MTLDR",
       Variant::Mtldr,
       "r.mbr",
       {"C:\\boot\\r.mbr"},
       " --restore=r.mbr",
       "●您的恢复文件存在:C:\\boot\\r.mbr,所以用恢复文件恢复."},
      {"existing, GRLDR",
       Variant::Grldr,
       "r.mbr",
       {"C:\\boot\\r.mbr"},
       " --restore-mbr=r.mbr",
       "●您的恢复文件存在:C:\\boot\\r.mbr,所以用恢复文件恢复."},
      {"missing",
       Variant::Mtldr,
       "r.mbr",
       {"C:\\boot\\other"},
       " --restore-prevmbr",
       "●您的恢复文件不存在:C:\\boot\\r.mbr,所以用第二扇区恢复."},
      {"empty",
       Variant::Grldr,
       "",
       {},
       " --restore-prevmbr",
       "●您的恢复文件不存在:C:\\boot\\,所以用第二扇区恢复."},
  };
  for (const Case &test : cases) {
    OptionSet options = defaults();
    options.action = Action::Uninstall;
    options.variant = test.variant;
    options.fileText = test.fileText;
    // Boot options do not apply to an uninstall, not even an unusable time-out.
    options.advanced = {false, false, false, false, "x y"};
    FakeFiles files{test.files, {}};
    const Composition c = composeWith(options, files);
    ASSERT_FALSE(c.refused()) << test.name;
    const std::string tool = test.variant == Variant::Mtldr ? "mtldrinst.exe" : "grldrinst.exe";
    EXPECT_EQ("%comspec% /c C:\\boot\\" + tool + test.flag + " --pause (hd0)", c.commandLine)
        << test.name;
    EXPECT_EQ(std::vector<std::string>{"C:\\boot\\" + test.fileText}, files.asked) << test.name;
    const std::vector<std::string> summary = lines(c.summary);
    ASSERT_EQ(3u, summary.size()) << test.name;
    EXPECT_EQ(test.line, summary[2]) << test.name;
  }
}

TEST(Compose, InstallDoesNotAskForTheFile) {
  FakeFiles files;
  composeWith(defaults(), files);
  EXPECT_TRUE(files.asked.empty());
}

TEST(Compose, DeviceIsTheItemNumberLessOne) {
  const std::pair<const char *, const char *> cases[] = {
      {"第2块介质 : 1 MB", " (hd1)"},
      {"第10块介质 : 0.5 GB", " (hd9)"},
      {"第11块介质 : 2048 GB", " (hd10)"},
  };
  for (const auto &[item, device] : cases) {
    OptionSet options = defaults();
    options.itemText = item;
    const Composition c = composeWith(options);
    EXPECT_EQ(device, c.commandLine.substr(c.commandLine.rfind(' '))) << item;
    EXPECT_EQ(std::string("至●") + item, lines(c.summary)[1]);
  }
}

TEST(Compose, ItemWithoutNumberIsAnError) {
  OptionSet options = defaults();
  options.itemText = "";
  EXPECT_THROW(composeWith(options), bootdeck::Failure);
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
      FakeFiles files;
      const Composition c = composeWith(options, files);
      EXPECT_TRUE(c.refused()) << file;
      EXPECT_TRUE(c.commandLine.empty()) << file;
      EXPECT_TRUE(files.asked.empty()) << file;
    }
  }
  for (const char *file : {"", "备份.mbr", "2026-12-7-1", "a_b.c"}) {
    OptionSet options = defaults();
    options.fileText = file;
    EXPECT_FALSE(composeWith(options).refused()) << file;
  }
}

TEST(Compose, TimeOutMustBeWholeSecondsWhenThePreviousMbrBootsFirst) {
  struct Case {
    const char *timeOut;
    bool accepted;
  };
  const Case cases[] = {
      {"0", true},    {"5", true},   {"05", true},  {"255", true}, {"256", false},
      {"", false},    {" 5", false}, {"5 ", false}, {"-1", false}, {"+1", false},
      {"1.5", false}, {"5&", false}, {"%x", false}, {"x", false},  {"1000", false},
  };
  for (const Case &test : cases) {
    OptionSet options = defaults();
    options.advanced.installedFirst = false;
    options.advanced.timeOutText = test.timeOut;
    EXPECT_EQ(!test.accepted, composeWith(options).refused()) << '"' << test.timeOut << '"';
    // Booting the installed MBR first leaves the time-out unused, so it is not judged.
    options.advanced.installedFirst = true;
    EXPECT_FALSE(composeWith(options).refused()) << '"' << test.timeOut << '"';
  }
}

} // namespace
