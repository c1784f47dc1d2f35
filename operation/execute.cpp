#include "operation/execute.h"

namespace bootdeck {

namespace {

const char kToolStillRuns[] = "上一次执行的安装程序还在运行.\r\n\r\n"
                              "请先在它的窗口中阅读结果并按任意键关闭它,然后再执行新的命令.";
const char kCannotStart[] = "无法启动安装程序:\r\n\r\n";

} // namespace

void execute(const std::string &command, ProcessRunner &runner, ExecutePrompts &prompts) {
  if (command.empty())
    return;
  if (runner.unwaitedRunActive()) {
    prompts.tell(kToolStillRuns);
    return;
  }
  if (!prompts.confirmed() || !prompts.chosenDiskUnchanged())
    return;
  const RunResult run = runner.run(command, WindowStyle::Normal, false);
  if (!run.started)
    prompts.tell(kCannotStart + run.errorText + " (" + std::to_string(run.errorNumber) + ")");
}

} // namespace bootdeck
