#include "app/main_window.h"

#include "app/control_ids.h"
#include "app/main_window_events.h"
#include "app/main_window_layout.h"
#include "app/shutdown.h"
#include "platform/app_folder.h"
#include "platform/control_colours.h"
#include "platform/dialog_keys.h"
#include "platform/edit_escape.h"
#include "platform/top_level_window.h"
#include "platform/win32_file_system.h"
#include "platform/win32_process_runner.h"

namespace bootdeck {

MainWindow::MainWindow() {
  hwnd_ = createTopLevelWindow(BOOTDECK_MAIN_CLASS, objectWindowProc<MainWindow, endWithReport>,
                               kMainWindowTitle, kMainClientWidth, kMainClientHeight);
  controls_ = std::make_unique<WindowControls>(hwnd_, mainWindowLayout(), screenDpi());
  attachWindowObject(hwnd_, this);
  // Esc does nothing in this window, also in the output box, which would otherwise close it.
  ignoreEscape(control(IDC_RESULTTEXT));
}

MainWindow::~MainWindow() {
  // Reached only when start-up fails: detached first, so destroying the window posts no WM_QUIT
  // that would cut short the failure's message box.
  destroyTopLevelWindow(hwnd_);
}

void MainWindow::createPlatformObjects() {
  processRunner_ = std::make_unique<Win32ProcessRunner>(appFolder());
  fileSystem_ = std::make_unique<Win32FileSystem>();
}

std::string MainWindow::appFolder() const {
  return bootdeck::appFolder();
}

void MainWindow::show(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  SetFocus(control(IDC_COMBO_CHOOSEHD));
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  // No button is the default or the cancel button: Enter presses the focused button only and
  // Esc does nothing.
  if (keyboard_.handle(hwnd_, message, wParam, lParam))
    return 0;
  switch (message) {
  case WM_COMMAND:
    dispatchCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    return 0;
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORSTATIC:
    // The output box: window-frame colour behind window-background coloured text.
    if (reinterpret_cast<HWND>(lParam) == control(IDC_RESULTTEXT))
      return controlColours(wParam, GetSysColor(COLOR_WINDOW), COLOR_WINDOWFRAME);
    break;
  case WM_CLOSE:
    for (MainWindowHandler step : closingSteps())
      step(*this);
    DestroyWindow(hwnd_);
    return 0;
  case WM_DESTROY:
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void MainWindow::dispatchCommand(int id, int notification, HWND control) {
  if (notification == BN_CLICKED && control)
    controls_->syncOptionTabStop(control);
  for (const EventBinding &binding : mainWindowEvents())
    if (binding.controlId == id && binding.notification == notification)
      binding.handler(*this);
}

} // namespace bootdeck
