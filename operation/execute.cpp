#include "operation/execute.h"

namespace bootdeck {

namespace {

const char kToolStillRuns[] = "上一次执行的命令还在运行:它的窗口还开着.\r\n\r\n"
                              "请先在那个窗口中阅读结果,按任意键关闭它,然后再单击 \"执行\".";

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
    prompts.tell("无法启动命令行 (cmd.exe),什么都没有执行 (错误 " +
                 std::to_string(run.errorNumber) + "):\r\n" + run.errorText +
                 "\r\n\r\n安全软件可能阻止了它:请在安全软件中允许 bootdeck 后重试.");
}

} // namespace bootdeck
