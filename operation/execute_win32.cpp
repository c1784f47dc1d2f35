#include "operation/execute_win32.h"

#include "app/main_window.h"
#include "app/main_window_layout.h"
#include "disks/chosen_disk_win32.h"
#include "operation/execute.h"
#include "operation/showstate_win32.h"
#include "platform/message_box.h"

#include <windows.h>

namespace bootdeck {

namespace {

const char kConfirmTitle[] = "请仔细核对您的参数:";
const char kConfirmPrompt[] = "\r\n\r\n"
                              "请仔细核对您的参数"
                              "\r\n\r\n"
                              "状态框显示您现在的状态,"
                              "\r\n\r\n\r\n\r\n\r\n\r\n"
                              "若确认无误,单击 \"确定\" 执行命令单击 \"取消\",取消命令执行"
                              "\r\n\r\n\r\n";

class MessageBoxPrompts : public ExecutePrompts {
public:
  explicit MessageBoxPrompts(MainWindow &window) : window_(window) {}

  bool confirmed() override {
    return messageBox(window_.hwnd(), kConfirmPrompt, kConfirmTitle,
                      MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON1) == IDOK;
  }
  bool chosenDiskUnchanged() override { return confirmChosenDiskUnchanged(window_); }
  void tell(const std::string &text) override {
    messageBox(window_.hwnd(), text, kMainWindowTitle, MB_OK | MB_ICONEXCLAMATION);
  }

private:
  MainWindow &window_;
};

} // namespace

void nowstateClick(MainWindow &window) {
  showstate(window);
}

void chooseitClick(MainWindow &window) {
  showstate(window);
  MessageBoxPrompts prompts(window);
  execute(window.composedCommand(), window.processRunner(), prompts);
}

} // namespace bootdeck
