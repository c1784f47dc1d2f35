// Texts that follow the user's regional settings.
#pragma once

#include <string>

namespace bootdeck {

// Today's date in the user's short-date format, without the time of day.
std::string shortDateText();

// The user's decimal separator.
std::string decimalSeparator();

} // namespace bootdeck
