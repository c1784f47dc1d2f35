#include "operation/time_out.h"

namespace bootdeck {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

std::string_view leadingDigits(std::string_view &text) {
  std::string_view::size_type count = 0;
  while (count < text.size() && isDigit(text[count]))
    ++count;
  const std::string_view digits = text.substr(0, count);
  text.remove_prefix(count);
  return digits;
}

// Whether the fraction's digits round the magnitude up, with an exact tie going to even: the
// decimal digits are compared with one half as written, never through a binary value.
bool roundsUp(std::string_view fraction, long magnitude) {
  if (fraction.empty() || fraction[0] < '5')
    return false;
  if (fraction[0] > '5')
    return true;
  return fraction.substr(1).find_first_not_of('0') != std::string_view::npos || magnitude % 2 == 1;
}

} // namespace

std::optional<std::int16_t> toInteger16(std::string_view text) {
  text = trimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const std::string_view whole = leadingDigits(text);
  std::string_view fraction;
  if (!text.empty() && text.front() == '.') {
    text.remove_prefix(1);
    fraction = leadingDigits(text);
  }
  if (!text.empty() || (whole.empty() && fraction.empty()))
    return std::nullopt;

  long magnitude = 0;
  for (char digit : whole) {
    magnitude = magnitude * 10 + (digit - '0');
    if (magnitude > 32768)
      return std::nullopt;
  }
  if (roundsUp(fraction, magnitude))
    ++magnitude;
  const long value = negative ? -magnitude : magnitude;
  if (value < INT16_MIN || value > INT16_MAX)
    return std::nullopt;
  return static_cast<std::int16_t>(value);
}

std::optional<std::string> confirmedTimeOutText(std::string_view text) {
  const auto value = toInteger16(text);
  if (!value)
    return std::nullopt;
  return std::to_string(*value);
}

} // namespace bootdeck
