#include "app/main_window.h"

#include "app/control_ids.h"
#include "app/main_window_events.h"
#include "app/main_window_layout.h"
#include "app/shutdown.h"
#include "platform/app_folder.h"
#include "platform/dialog_keys.h"
#include "platform/edit_escape.h"
#include "platform/system_error.h"
#include "platform/utf.h"
#include "platform/win32_file_system.h"
#include "platform/win32_process_runner.h"
#include "platform/window_class.h"

namespace bootdeck {

MainWindow::MainWindow() {
  registerAppWindowClass(BOOTDECK_MAIN_CLASS, windowProc);
  // Fixed size: a caption with a close box, neither a sizing border nor minimise or maximise.
  // No WS_CLIPCHILDREN: the window paints the inside of its frames, which draw only a border.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  hwnd_ = CreateWindowExW(0, BOOTDECK_MAIN_CLASS, widen(kMainWindowTitle).c_str(), style,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                          nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_)
    throw lastErrorFailure();
  const int dpi = screenDpi();
  placeCentred(hwnd_, kMainClientWidth, kMainClientHeight, dpi);
  controls_ = std::make_unique<WindowControls>(hwnd_, mainWindowLayout(), dpi);
  // Esc does nothing in this window, also in the output box, which would otherwise close it.
  ignoreEscape(control(IDC_RESULTTEXT));
}

MainWindow::~MainWindow() {
  // Reached only when start-up fails: detach first, so destroying the window posts no WM_QUIT
  // that would cut short the failure's message box.
  if (IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
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

LRESULT CALLBACK MainWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto *self =
        static_cast<MainWindow *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto *self = reinterpret_cast<MainWindow *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->controls_)
    return DefWindowProcW(hwnd, message, wParam, lParam);
  // A failure must not unwind through the system's frames: report it here and end.
  try {
    return self->handle(message, wParam, lParam);
  } catch (const Failure &failure) {
    endWithReport(failure);
  } catch (const std::exception &error) {
    endWithReport(Failure(0, error.what()));
  }
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_COMMAND:
    dispatchCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    return 0;
  case WM_NEXTDLGCTL:
    moveDialogFocus(hwnd_, wParam, lParam);
    return 0;
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORSTATIC:
    // The output box: window-frame colour behind window-background coloured text.
    if (reinterpret_cast<HWND>(lParam) == control(IDC_RESULTTEXT)) {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, GetSysColor(COLOR_WINDOW));
      SetBkColor(dc, GetSysColor(COLOR_WINDOWFRAME));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOWFRAME));
    }
    break;
  case WM_ACTIVATE:
    if (focusMemory_.onActivate(hwnd_, wParam))
      return 0;
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
  // No button is the default or the cancel button: Enter presses the focused button only and
  // Esc does nothing.
  if (id == IDOK && !control) {
    pressFocusedButton(hwnd_);
    return;
  }
  if (notification == BN_CLICKED && control)
    controls_->syncOptionTabStop(control);
  for (const EventBinding &binding : mainWindowEvents())
    if (binding.controlId == id && binding.notification == notification)
      binding.handler(*this);
}

} // namespace bootdeck
