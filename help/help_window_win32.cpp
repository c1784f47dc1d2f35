#include "help/help_window_win32.h"

#include "app/control_ids.h"
#include "help/help_text.h"
#include "help/help_window_layout.h"
#include "platform/dialog_keys.h"
#include "platform/edit_escape.h"
#include "platform/focus_memory.h"
#include "platform/system_error.h"
#include "platform/utf.h"
#include "platform/window_builder.h"
#include "platform/window_class.h"
#include "platform/window_text.h"

#include <windows.h>

#include <memory>
#include <string>

namespace bootdeck {

namespace {

class HelpWindow {
public:
  // Loads the window hidden, centred, with the help text and the credit in place.
  HelpWindow();
  HelpWindow(const HelpWindow &) = delete;
  HelpWindow &operator=(const HelpWindow &) = delete;
  ~HelpWindow();

  // Shows the window as it was left, or brings it forward when it is shown already.
  void show();

private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  bool shownBefore_ = false;
  std::unique_ptr<WindowControls> controls_;
  FocusMemory focus_;
};

// The one loaded help window of the run, if any; only this file's functions reach it.
std::unique_ptr<HelpWindow> &loadedHelpWindow() {
  static std::unique_ptr<HelpWindow> window;
  return window;
}

HelpWindow::HelpWindow() {
  registerAppWindowClass(BOOTDECK_HELP_CLASS, windowProc);
  // Fixed size with a close box; no owner, so it lives beside the main window, not above it.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  hwnd_ = CreateWindowExW(0, BOOTDECK_HELP_CLASS, widen(kHelpWindowTitle).c_str(), style,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                          nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_)
    throw lastErrorFailure();
  const int dpi = screenDpi();
  placeCentred(hwnd_, kHelpClientWidth, kHelpClientHeight, dpi);
  controls_ = std::make_unique<WindowControls>(hwnd_, helpWindowLayout(), dpi);
  ignoreEscape(controls_->control(IDC_TEXT2HELP));
  setWindowText(controls_->control(IDC_TEXT2HELP), helpText());
  setWindowText(controls_->control(IDC_LABEL_TRUE), std::string(creditText()));
}

HelpWindow::~HelpWindow() {
  // Detach first: the messages of the destruction find no object behind the window.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
}

void HelpWindow::show() {
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  if (!shownBefore_) {
    SetFocus(controls_->control(IDC_TEXT2HELP));
    shownBefore_ = true;
  }
}

LRESULT CALLBACK HelpWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto *self =
        static_cast<HelpWindow *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto *self = reinterpret_cast<HelpWindow *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->controls_)
    return DefWindowProcW(hwnd, message, wParam, lParam);
  // The close box unloads the window: the object goes, and with it the window, so nothing of
  // the object may be touched after this.
  if (message == WM_CLOSE) {
    loadedHelpWindow().reset();
    return 0;
  }
  return self->handle(message, wParam, lParam);
}

LRESULT HelpWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_COMMAND:
    // Neither button is the default or the cancel button: Enter presses the focused button only
    // and Esc (IDCANCEL) does nothing.
    if (LOWORD(wParam) == IDOK && lParam == 0)
      pressFocusedButton(hwnd_);
    else if (LOWORD(wParam) == IDC_BACK && HIWORD(wParam) == BN_CLICKED)
      ShowWindow(hwnd_, SW_HIDE);
    return 0;
  case WM_NEXTDLGCTL:
    moveDialogFocus(hwnd_, wParam, lParam);
    return 0;
  case WM_CTLCOLORSTATIC:
    // The credit: 3-D highlight text on the window's own background.
    if (reinterpret_cast<HWND>(lParam) == controls_->control(IDC_LABEL_TRUE)) {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
      SetBkColor(dc, GetSysColor(COLOR_3DFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_3DFACE));
    }
    break;
  case WM_ACTIVATE:
    if (focus_.onActivate(hwnd_, wParam))
      return 0;
    break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

} // namespace

void helpClick(MainWindow &) {
  std::unique_ptr<HelpWindow> &window = loadedHelpWindow();
  if (!window)
    window = std::make_unique<HelpWindow>();
  window->show();
}

void unloadHelpWindow(MainWindow &) {
  loadedHelpWindow().reset();
}

} // namespace bootdeck
