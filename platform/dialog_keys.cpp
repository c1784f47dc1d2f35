#include "platform/dialog_keys.h"

namespace bootdeck {

namespace {

void focusControl(HWND control) {
  SetFocus(control);
  if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
    SendMessageW(control, EM_SETSEL, 0, -1);
}

} // namespace

void moveDialogFocus(HWND window, WPARAM wParam, LPARAM lParam) {
  if (LOWORD(lParam)) {
    focusControl(reinterpret_cast<HWND>(wParam));
    return;
  }
  if (HWND next = GetNextDlgTabItem(window, GetFocus(), wParam != 0))
    focusControl(next);
}

void pressFocusedButton(HWND window) {
  HWND focus = GetFocus();
  if (!focus || GetParent(focus) != window)
    return;
  const LRESULT code = SendMessageW(focus, WM_GETDLGCODE, 0, 0);
  if (code & (DLGC_UNDEFPUSHBUTTON | DLGC_DEFPUSHBUTTON))
    SendMessageW(focus, BM_CLICK, 0, 0);
}

bool DialogKeyboard::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_NEXTDLGCTL:
    moveDialogFocus(window, wParam, lParam);
    return true;
  case WM_COMMAND:
    if (LOWORD(wParam) != IDOK || lParam != 0)
      return false;
    pressFocusedButton(window);
    return true;
  case WM_ACTIVATE:
    return focus_.onActivate(window, wParam);
  }
  return false;
}

int runMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogMessageW(root, &msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

} // namespace bootdeck
