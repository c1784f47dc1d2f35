// Confirming the dialog's time-out text: read as a 16-bit signed integer the way Basic's CInt
// reads a text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bootdeck {

// Blanks around the number and a sign are allowed; a fraction after "." goes to the nearest
// integer, halves to the even one. Empty when the text is not a number or the result lies
// outside -32768..32767.
std::optional<std::int16_t> toInteger16(std::string_view text);

// The confirmed text: the integer in plain decimal ("07" -> "7", " 7" -> "7", "2.5" -> "2").
std::optional<std::string> confirmedTimeOutText(std::string_view text);

} // namespace bootdeck
