#include "platform/window_text.h"

#include "platform/utf.h"

namespace bootdeck {

std::string windowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, &text[0], length + 1);
  text.resize(static_cast<size_t>(got));
  return narrow(text);
}

void setWindowText(HWND window, const std::string &text) {
  SetWindowTextW(window, widen(text).c_str());
}

bool isChecked(HWND button) {
  return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void setChecked(HWND button, bool checked) {
  SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace bootdeck
