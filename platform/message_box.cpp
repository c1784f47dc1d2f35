#include "platform/message_box.h"

#include "platform/utf.h"

namespace bootdeck {

int messageBox(HWND owner, const std::string &text, const std::string &title, UINT flags) {
  return MessageBoxW(owner, widen(text).c_str(), widen(title).c_str(), flags);
}

} // namespace bootdeck
