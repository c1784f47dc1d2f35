#include "disks/disk_item.h"

#include "disks/conversion_error.h"

namespace bootdeck {
namespace {

constexpr char kOrdinalPrefix[] = "第";
constexpr std::string::size_type kOrdinalPrefixBytes = sizeof kOrdinalPrefix - 1;

} // namespace

std::string diskItemText(int diskNumber, const DiskSize &size) {
  return kOrdinalPrefix + std::to_string(diskNumber + 1) + "块介质 : " + size.number + size.unit;
}

int itemNumber(const std::string &itemText) {
  if (itemText.compare(0, kOrdinalPrefixBytes, kOrdinalPrefix) != 0)
    throw typeMismatch();
  int number = 0;
  std::string::size_type at = kOrdinalPrefixBytes;
  for (; at < itemText.size() && itemText[at] >= '0' && itemText[at] <= '9'; ++at) {
    if (number > 99999)
      throw overflow();
    number = number * 10 + (itemText[at] - '0');
  }
  if (at == kOrdinalPrefixBytes)
    throw typeMismatch();
  return number;
}

int diskNumberOfItem(const std::string &itemText) {
  return itemNumber(itemText) - 1;
}

} // namespace bootdeck
