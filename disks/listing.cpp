#include "disks/listing.h"

#include "disks/conversion_error.h"

namespace bootdeck {
namespace {

std::string_view trimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos)
    return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool isPrimaryEntry(std::string_view line) {
  const std::string_view number = trimBlanks(line.substr(0, 2));
  return number.size() == 1 && number[0] >= '0' && number[0] <= '3';
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

std::uint32_t entryLength(std::string_view line) {
  // Every single blank separates, so the last field is what follows the last blank.
  const auto lastBlank = line.rfind(' ');
  const std::string_view field =
      trimBlanks(lastBlank == std::string_view::npos ? line : line.substr(lastBlank + 1));
  if (field.empty())
    throw typeMismatch();
  std::uint64_t value = 0;
  for (char c : field) {
    const int digit = hexDigit(c);
    if (digit < 0)
      throw typeMismatch();
    value = value * 16 + static_cast<std::uint64_t>(digit);
    if (value > UINT32_MAX)
      throw overflow();
  }
  return static_cast<std::uint32_t>(value);
}

} // namespace

bool listingNamesDisk(std::uint64_t byteSize) {
  return byteSize > kNoDiskListingBytes;
}

ListingVerdict listingVerdict(unsigned long exitCode, std::uint64_t byteSize) {
  if (byteSize > kListingLimitBytes)
    return ListingVerdict::TooLong;
  if (exitCode == 0)
    return listingNamesDisk(byteSize) ? ListingVerdict::Disk : ListingVerdict::NoDisk;
  if (exitCode == 1 && !listingNamesDisk(byteSize))
    return ListingVerdict::NoDisk;
  return ListingVerdict::FailedProbe;
}

double listingSizeSum(std::string_view listingText) {
  double sum = 0;
  for (;;) {
    const auto end = listingText.find("\r\n");
    const std::string_view line = listingText.substr(0, end);
    if (isPrimaryEntry(line))
      sum += entryLength(line) / 1024.0;
    if (end == std::string_view::npos)
      return sum;
    listingText.remove_prefix(end + 2);
  }
}

} // namespace bootdeck
