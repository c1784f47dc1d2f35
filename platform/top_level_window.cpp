#include "platform/top_level_window.h"

#include "platform/system_error.h"
#include "platform/utf.h"
#include "platform/window_builder.h"
#include "platform/window_class.h"

namespace bootdeck {

HWND createTopLevelWindow(const wchar_t *className, WNDPROC windowProc, const std::string &title,
                          int clientWidthTwips, int clientHeightTwips) {
  registerAppWindowClass(className, windowProc);
  // No WS_CLIPCHILDREN: the windows paint the inside of their frames, which draw only a border.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  const HWND window = CreateWindowExW(0, className, widen(title).c_str(), style, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  if (!window)
    throw lastErrorFailure();
  placeCentred(window, clientWidthTwips, clientHeightTwips, screenDpi());
  return window;
}

void attachWindowObject(HWND window, void *object) {
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
}

void detachWindowObject(HWND window) {
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

void destroyTopLevelWindow(HWND window) {
  if (!IsWindow(window))
    return;
  detachWindowObject(window);
  DestroyWindow(window);
}

void *windowObject(HWND window) {
  return reinterpret_cast<void *>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

} // namespace bootdeck
