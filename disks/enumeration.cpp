#include "disks/enumeration.h"

#include "disks/disk_item.h"
#include "disks/listing.h"
#include "disks/probe_command.h"
#include "platform/failure.h"

namespace bootdeck {

std::optional<std::string> probeDiskItem(const ProbeContext &context, int diskNumber) {
  const RunResult run = context.runner.run(probeCommandLine(context.appFolder, diskNumber),
                                           WindowStyle::Hidden, true);
  if (!run.started)
    throw Failure(run.errorNumber, run.errorText);
  const std::string listing = listingFilePath(context.appFolder);
  if (!listingNamesDisk(context.files.fileSize(listing)))
    return std::nullopt;
  const double sizeSum = listingSizeSum(context.files.readText(listing));
  return diskItemText(diskNumber, diskSize(sizeSum, context.decimalSeparator));
}

void removeListingFile(const ProbeContext &context) {
  const std::string listing = listingFilePath(context.appFolder);
  if (context.files.fileExists(listing))
    context.files.deleteFile(listing);
}

std::vector<std::string> enumerateDiskItems(const ProbeContext &context) {
  std::vector<std::string> items;
  for (int disk = kFirstProbedDisk; disk <= kLastProbedDisk; ++disk)
    if (std::optional<std::string> item = probeDiskItem(context, disk))
      items.push_back(*item);
  removeListingFile(context);
  return items;
}

} // namespace bootdeck
