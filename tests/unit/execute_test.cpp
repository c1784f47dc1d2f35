#include "operation/execute.h"

#include "tests/fakes/fake_process_runner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using bootdeck::FakeProcessRunner;
using bootdeck::RunResult;
using bootdeck::WindowStyle;

const std::string kCommand = "%comspec% /c C:\\boot\\mtldrinst.exe --save=b --pause (hd0)";
const std::string kStillRuns = "上一次执行的安装程序还在运行.\r\n\r\n"
                               "请先在它的窗口中阅读结果并按任意键关闭它,然后再执行新的命令.";

// Answers as scripted and records, in order, what was asked and told.
struct ScriptedPrompts : bootdeck::ExecutePrompts {
  bool answerOk = true;
  bool diskUnchanged = true;
  std::vector<std::string> asked; // "confirm", "recheck", and each told text
  bool confirmed() override {
    asked.push_back("confirm");
    return answerOk;
  }
  bool chosenDiskUnchanged() override {
    asked.push_back("recheck");
    return diskUnchanged;
  }
  void tell(const std::string &text) override { asked.push_back(text); }
};

TEST(Execute, RunsOnlyAfterOkAndAnUnchangedDisk) {
  const struct {
    const char *name;
    std::string command;
    bool toolRuns, answerOk, diskUnchanged;
    std::vector<std::string> asked;
    bool started;
  } cases[] = {
      {"all well", kCommand, false, true, true, {"confirm", "recheck"}, true},
      {"cancelled", kCommand, false, false, true, {"confirm"}, false},
      {"disks changed", kCommand, false, true, false, {"confirm", "recheck"}, false},
      {"composition refused or failed", "", false, true, true, {}, false},
      {"empty command while a tool runs", "", true, true, true, {}, false},
      {"an earlier tool still runs", kCommand, true, true, true, {kStillRuns}, false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    FakeProcessRunner runner;
    runner.active = c.toolRuns;
    ScriptedPrompts prompts;
    prompts.answerOk = c.answerOk;
    prompts.diskUnchanged = c.diskUnchanged;
    bootdeck::execute(c.command, runner, prompts);
    EXPECT_EQ(c.asked, prompts.asked);
    ASSERT_EQ(c.started ? 1u : 0u, runner.runs.size());
    if (c.started) {
      EXPECT_EQ(c.command, runner.runs[0].command);
      EXPECT_EQ(WindowStyle::Normal, runner.runs[0].style);
      EXPECT_FALSE(runner.runs[0].wait);
    }
  }
}

TEST(Execute, AToolThatCannotStartIsReportedWithTheSystemsReason) {
  FakeProcessRunner runner;
  runner.reaction = [](const bootdeck::RecordedRun &) {
    RunResult failed;
    failed.errorNumber = 2;
    failed.errorText = "系统找不到指定的文件。";
    return failed;
  };
  ScriptedPrompts prompts;
  bootdeck::execute(kCommand, runner, prompts);
  ASSERT_EQ(3u, prompts.asked.size());
  EXPECT_EQ("无法启动安装程序:\r\n\r\n系统找不到指定的文件。 (2)", prompts.asked[2]);
}

} // namespace
