#include "app/shutdown.h"

#include "app/main_window_layout.h"
#include "platform/message_box.h"

#include <windows.h>

#include <string>

namespace bootdeck {

void exitClick(MainWindow &) {
  endNow(0);
}

void endNow(int exitCode) {
  ExitProcess(static_cast<UINT>(exitCode));
}

void endWithReport(const Failure &failure) {
  const std::string text =
      "运行时错误 '" + std::to_string(failure.number()) + "':\r\n\r\n" + failure.what();
  messageBox(nullptr, text, kMainWindowTitle, MB_OK | MB_ICONSTOP);
  endNow(failure.number() != 0 ? static_cast<int>(failure.number()) : 1);
}

} // namespace bootdeck
