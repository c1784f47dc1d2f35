#include "disks/size_text.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace bootdeck {
namespace {

// 2^53: the sector count stays an exact integer in a double below this.
constexpr double kExactSectorLimit = 9007199254740992.0;

// sectors / 2^shift written with 4 decimals, rounded half to even. The value is an exact binary
// fraction, so the rounding is done on integers and never sees a binary approximation of a
// decimal: the remainder below the 4th decimal is compared exactly with one half.
std::string roundedQuotient(std::uint64_t sectors, unsigned shift,
                            const std::string &decimalSeparator) {
  const std::uint64_t denominator = std::uint64_t{1} << shift;
  std::uint64_t whole = sectors >> shift;
  // remainder < 2^21 and 10^4 < 2^14, so the product fits easily.
  const std::uint64_t scaled = (sectors & (denominator - 1)) * 10000;
  std::uint64_t fraction = scaled >> shift;
  const std::uint64_t twiceRest = (scaled & (denominator - 1)) * 2;
  if (twiceRest > denominator || (twiceRest == denominator && fraction % 2 == 1))
    ++fraction;
  if (fraction == 10000) {
    ++whole;
    fraction = 0;
  }
  std::string text = std::to_string(whole);
  if (fraction != 0) {
    std::string digits = std::to_string(fraction);
    digits.insert(0, 4 - digits.size(), '0');
    digits.erase(digits.find_last_not_of('0') + 1);
    text += decimalSeparator + digits;
  }
  return text;
}

} // namespace

DiskSize diskSize(double sizeSum, const std::string &decimalSeparator) {
  // Each counted entry adds sectors / 1024, so sum * 1024 is the whole number of sectors.
  const double sectors = sizeSum * 1024;
  if (!(sectors >= 0 && sectors < kExactSectorLimit) || std::floor(sectors) != sectors)
    throw std::invalid_argument("size sum is not a whole number of sectors");
  const auto count = static_cast<std::uint64_t>(sectors);
  // MB = sum / 2 = sectors / 2^11; GB = sum / 1024 / 2 = sectors / 2^21.
  if (sizeSum < 1024)
    return {roundedQuotient(count, 11, decimalSeparator), " MB"};
  return {roundedQuotient(count, 21, decimalSeparator), " GB"};
}

} // namespace bootdeck
