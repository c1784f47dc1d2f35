#include "platform/locale_text.h"

#include "platform/system_error.h"
#include "platform/utf.h"

#include <windows.h>

namespace bootdeck {

std::string shortDateText() {
  const int length =
      GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, nullptr, 0);
  if (length == 0)
    throw lastErrorFailure();
  std::wstring text(static_cast<size_t>(length), L'\0');
  if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, &text[0], length) == 0)
    throw lastErrorFailure();
  text.resize(static_cast<size_t>(length - 1));
  return narrow(text);
}

std::string decimalSeparator() {
  wchar_t separator[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) == 0)
    throw lastErrorFailure();
  return narrow(separator);
}

} // namespace bootdeck
