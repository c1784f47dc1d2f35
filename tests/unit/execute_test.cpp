#include "operation/execute.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using bootdeck::RunResult;
using bootdeck::WindowStyle;

const std::string kCommand = "%comspec% /c C:\\boot\\mtldrinst.exe --save=b --pause (hd0)";

// Records, in order, what was asked, told and run, and answers as scripted.
struct Script : bootdeck::ProcessRunner, bootdeck::ExecutePrompts {
  bool toolRuns = false, ok = true, unchanged = true, starts = true;
  std::vector<std::string> events;

  RunResult run(const std::string &command, WindowStyle style, bool wait) override {
    events.push_back("run " + command + (style == WindowStyle::Normal && !wait ? "" : " hidden"));
    RunResult result;
    result.started = starts;
    result.errorNumber = starts ? 0 : 2;
    result.errorText = starts ? "" : "系统找不到指定的文件。";
    return result;
  }
  bool unwaitedRunActive() override { return toolRuns; }
  bool confirmed() override { return events.push_back("confirm"), ok; }
  bool chosenDiskUnchanged() override { return events.push_back("recheck"), unchanged; }
  void tell(const std::string &text) override { events.push_back(text); }
};

TEST(Execute, RunsInAConsoleOnlyAfterOkAndAnUnchangedDisk) {
  const std::string stillRuns = "上一次执行的命令还在运行:它的窗口还开着.\r\n\r\n"
                                "请先在那个窗口中阅读结果,按任意键关闭它,然后再单击 \"执行\".";
  const struct {
    std::string command;
    bool toolRuns, ok, unchanged, starts;
    std::vector<std::string> events;
  } cases[] = {
      {kCommand, false, true, true, true, {"confirm", "recheck", "run " + kCommand}},
      {kCommand, false, false, true, true, {"confirm"}},
      {kCommand, false, true, false, true, {"confirm", "recheck"}},
      {"", false, true, true, true, {}}, // the composition was refused and has said why
      {"", true, true, true, true, {}},
      {kCommand, true, true, true, true, {stillRuns}},
      {kCommand,
       false,
       true,
       true,
       false,
       {"confirm", "recheck", "run " + kCommand,
        "无法启动命令行 (cmd.exe),什么都没有执行 (错误 2):\r\n系统找不到指定的文件。\r\n\r\n"
        "安全软件可能阻止了它:请在安全软件中允许 bootdeck 后重试."}},
  };
  for (const auto &c : cases) {
    Script script;
    script.toolRuns = c.toolRuns;
    script.ok = c.ok;
    script.unchanged = c.unchanged;
    script.starts = c.starts;
    bootdeck::execute(c.command, script, script);
    EXPECT_EQ(c.events, script.events);
  }
}

} // namespace
