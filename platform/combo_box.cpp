#include "platform/combo_box.h"

#include "platform/system_error.h"
#include "platform/utf.h"

namespace bootdeck {

void clearItems(HWND combo) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
}

void appendItem(HWND combo, const std::string &text) {
  const LRESULT at =
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));
  if (at == CB_ERR || at == CB_ERRSPACE)
    throw Failure(ERROR_NOT_ENOUGH_MEMORY, systemErrorText(ERROR_NOT_ENOUGH_MEMORY));
}

int itemCount(HWND combo) {
  return static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
}

int selectedItem(HWND combo) {
  return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

void selectItem(HWND combo, int index) {
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string itemText(HWND combo, int index) {
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR)
    return std::string();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                   reinterpret_cast<LPARAM>(&text[0]));
  text.resize(got == CB_ERR ? 0 : static_cast<size_t>(got));
  return narrow(text);
}

} // namespace bootdeck
