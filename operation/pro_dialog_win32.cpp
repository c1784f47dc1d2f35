#include "operation/pro_dialog_win32.h"

#include "app/control_ids.h"
#include "app/main_window_layout.h"
#include "app/shutdown.h"
#include "operation/pro_layout.h"
#include "operation/time_out.h"
#include "platform/control_colours.h"
#include "platform/dialog_keys.h"
#include "platform/message_box.h"
#include "platform/top_level_window.h"
#include "platform/window_builder.h"
#include "platform/window_text.h"

#include <windows.h>

#include <memory>

namespace bootdeck {

namespace {

const char kTimeOutRefused[] = "请正确的填写选项并细心核对.";
const char kTimeOutDefault[] = "5";

class ProDialog {
public:
  ProDialog();
  ProDialog(const ProDialog &) = delete;
  ProDialog &operator=(const ProDialog &) = delete;
  ~ProDialog();

  void show();
  AdvancedOptions read() const;
  // Destroying the window ends the instance (see WM_NCDESTROY).
  void destroy() { DestroyWindow(hwnd_); }

  // The window's messages, from its window procedure.
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
  void command(int id, int notification, HWND control);
  void allrightClick();
  HWND control(int id) const { return controls_->control(id); }

  HWND hwnd_ = nullptr;
  DialogKeyboard keyboard_;
  std::unique_ptr<WindowControls> controls_;
};

// The one instance; empty while the dialog does not exist.
std::unique_ptr<ProDialog> &instance() {
  static std::unique_ptr<ProDialog> dialog;
  return dialog;
}

ProDialog &existingOrNew() {
  if (!instance())
    instance() = std::make_unique<ProDialog>();
  return *instance();
}

ProDialog::ProDialog() {
  // No owner, so it stands beside the main window.
  hwnd_ = createTopLevelWindow(BOOTDECK_PRO_CLASS, objectWindowProc<ProDialog, endWithReport>,
                               kProDialogTitle, kProClientWidth, kProClientHeight);
  controls_ = std::make_unique<WindowControls>(hwnd_, proDialogLayout(), screenDpi());
  attachWindowObject(hwnd_, this);
  SendMessageW(control(IDC_TEXT), EM_LIMITTEXT, kTimeOutTextLimit, 0);
}

ProDialog::~ProDialog() {
  // A dialog that still exists when the process ends: detached first, so its destruction finds
  // no object behind the window.
  destroyTopLevelWindow(hwnd_);
}

void ProDialog::show() {
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  // The first showing starts on the first control in tab order; later ones where the user left.
  if (!IsChild(hwnd_, GetFocus()))
    SetFocus(control(IDC_ALLRIGHT));
}

AdvancedOptions ProDialog::read() const {
  AdvancedOptions options;
  options.backupToSecondSector = isChecked(control(IDC_CHECK1));
  options.floppySearch = isChecked(control(IDC_FLOPPYSCH));
  options.fallbackOnInvalidTable = isChecked(control(IDC_CANNOTBOOTPRE));
  options.installedFirst = isChecked(control(IDC_OPTION11));
  options.timeOutText = windowText(control(IDC_TEXT));
  return options;
}

LRESULT ProDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  // Neither button is the default: Enter presses the focused button only; Esc cancels.
  if (keyboard_.handle(hwnd_, message, wParam, lParam))
    return 0;
  switch (message) {
  case WM_NCDESTROY: {
    // The window is gone: the instance ends with it, so the next reader gets the defaults.
    const HWND hwnd = hwnd_;
    detachWindowObject(hwnd);
    hwnd_ = nullptr;
    if (instance().get() == this)
      instance().reset();
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  case WM_COMMAND:
    command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    return 0;
  case WM_CTLCOLORSTATIC:
    if (reinterpret_cast<HWND>(lParam) == control(IDC_LABEL1))
      return controlColours(wParam, static_cast<COLORREF>(kProNoteTextColour), COLOR_WINDOWFRAME);
    break;
  case WM_CLOSE:
    destroy();
    return 0;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void ProDialog::command(int id, int notification, HWND sender) {
  if (id == IDCANCEL && !sender) {
    destroy();
    return;
  }
  if (notification != BN_CLICKED || !sender)
    return;
  controls_->syncOptionTabStop(sender);
  if (id == IDC_ALLRIGHT)
    allrightClick();
  else if (id == IDC_CANCEL)
    destroy();
}

void ProDialog::allrightClick() {
  const HWND timeOut = control(IDC_TEXT);
  if (const auto confirmed = confirmedTimeOutText(windowText(timeOut))) {
    setWindowText(timeOut, *confirmed);
    ShowWindow(hwnd_, SW_HIDE);
    return;
  }
  messageBox(hwnd_, kTimeOutRefused, kMainWindowTitle, MB_OK);
  setWindowText(timeOut, kTimeOutDefault);
}

} // namespace

void prochClick(MainWindow &) {
  existingOrNew().show();
}

AdvancedOptions readAdvancedOptions() {
  return existingOrNew().read();
}

void unloadProDialog(MainWindow &) {
  if (instance())
    instance()->destroy();
}

} // namespace bootdeck
