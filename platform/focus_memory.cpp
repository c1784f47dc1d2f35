#include "platform/focus_memory.h"

namespace bootdeck {

bool FocusMemory::onActivate(HWND window, WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    const HWND focus = GetFocus();
    if (focus && IsChild(window, focus))
      last_ = focus;
    return false;
  }
  if (!last_ || !IsWindow(last_))
    return false;
  SetFocus(last_);
  return true;
}

} // namespace bootdeck
