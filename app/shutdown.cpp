#include "app/shutdown.h"

#include "app/failure_report.h"
#include "app/main_window_layout.h"
#include "platform/failure.h"
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

void endWithReport(const std::exception &error) {
  const auto *failure = dynamic_cast<const Failure *>(&error);
  const unsigned long number = failure ? failure->number() : 0;
  const std::string text = failureReport(number, error.what(), failure ? failure->file() : "");
  // Task-modal: no window of the program can start anything more while the report is up.
  messageBox(nullptr, text, kMainWindowTitle, MB_OK | MB_ICONSTOP | MB_TASKMODAL);
  endNow(number != 0 ? static_cast<int>(number) : 1);
}

} // namespace bootdeck
