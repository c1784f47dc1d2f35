#include "help/help_window_win32.h"

#include "app/control_ids.h"
#include "app/shutdown.h"
#include "help/help_text.h"
#include "help/help_window_layout.h"
#include "platform/control_colours.h"
#include "platform/dialog_keys.h"
#include "platform/edit_escape.h"
#include "platform/top_level_window.h"
#include "platform/window_builder.h"
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

  // The window's messages, from its window procedure.
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
  HWND hwnd_ = nullptr;
  bool shownBefore_ = false;
  std::unique_ptr<WindowControls> controls_;
  DialogKeyboard keyboard_;
};

// The one loaded help window of the run, if any; only this file's functions reach it.
std::unique_ptr<HelpWindow> &loadedHelpWindow() {
  static std::unique_ptr<HelpWindow> window;
  return window;
}

HelpWindow::HelpWindow() {
  // No owner, so it lives beside the main window, not above it.
  hwnd_ = createTopLevelWindow(BOOTDECK_HELP_CLASS, objectWindowProc<HelpWindow, endWithReport>,
                               kHelpWindowTitle, kHelpClientWidth, kHelpClientHeight);
  controls_ = std::make_unique<WindowControls>(hwnd_, helpWindowLayout(), screenDpi());
  attachWindowObject(hwnd_, this);
  ignoreEscape(controls_->control(IDC_TEXT2HELP));
  setWindowText(controls_->control(IDC_TEXT2HELP), helpText());
  setWindowText(controls_->control(IDC_LABEL_TRUE), std::string(creditText()));
}

HelpWindow::~HelpWindow() {
  // Detached first: the messages of the destruction find no object behind the window.
  destroyTopLevelWindow(hwnd_);
}

void HelpWindow::show() {
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  if (!shownBefore_) {
    SetFocus(controls_->control(IDC_TEXT2HELP));
    shownBefore_ = true;
  }
}

LRESULT HelpWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  // Neither button is the default or the cancel button: Enter presses the focused button only
  // and Esc (IDCANCEL) does nothing.
  if (keyboard_.handle(hwnd_, message, wParam, lParam))
    return 0;
  switch (message) {
  case WM_CLOSE:
    // The close box unloads the window: the object goes, and with it the window, so nothing of
    // the object may be touched after this.
    loadedHelpWindow().reset();
    return 0;
  case WM_COMMAND:
    if (LOWORD(wParam) == IDC_BACK && HIWORD(wParam) == BN_CLICKED)
      ShowWindow(hwnd_, SW_HIDE);
    return 0;
  case WM_CTLCOLORSTATIC:
    // The credit: 3-D highlight text on the window's own background.
    if (reinterpret_cast<HWND>(lParam) == controls_->control(IDC_LABEL_TRUE))
      return controlColours(wParam, GetSysColor(COLOR_3DHILIGHT), COLOR_3DFACE);
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
