// Keeps the focused control of a top-level window that is not a dialog across deactivation, as
// dialogs do; otherwise the window itself takes the focus when it is activated again.
#pragma once

#include <windows.h>

namespace bootdeck {

class FocusMemory {
public:
  // For WM_ACTIVATE of `window`: true when the focus was given back to a control, in which case
  // the message is handled and must not reach DefWindowProcW.
  bool onActivate(HWND window, WPARAM wParam);

private:
  HWND last_ = nullptr;
};

} // namespace bootdeck
