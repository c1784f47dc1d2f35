#include "platform/edit_escape.h"

#include <commctrl.h>

namespace bootdeck {

namespace {

LRESULT CALLBACK swallowEscape(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR) {
  if ((message == WM_KEYDOWN || message == WM_CHAR) && wParam == VK_ESCAPE)
    return 0;
  if (message == WM_NCDESTROY)
    RemoveWindowSubclass(edit, swallowEscape, id);
  return DefSubclassProc(edit, message, wParam, lParam);
}

} // namespace

void ignoreEscape(HWND edit) {
  SetWindowSubclass(edit, swallowEscape, 0, 0);
}

} // namespace bootdeck
