#include "disks/enumeration.h"

#include "disks/disk_item.h"
#include "disks/listing.h"
#include "disks/probe_command.h"
#include "platform/failure.h"

#include <memory>

namespace bootdeck {

namespace {

constexpr unsigned long kInvalidData = 13; // ERROR_INVALID_DATA

std::string unusable(const std::string &path, const std::string &reason) {
  return "bootdeck 无法新建,读取或删除列表文件:\r\n" + path + "\r\n" + reason +
         "\r\n\r\n可能另一个程序正在使用这个文件,或那里有同名的文件夹.为了不把其他程序写入的"
         "内容当作磁盘列表,bootdeck 没有列出磁盘.\r\n\r\n"
         "请关闭那个程序,删除这个文件或文件夹后重新运行 bootdeck.";
}

std::string untrusted(const std::string &path, const std::string &reason) {
  return "列表文件不可信:\r\n" + path + "\r\n" + reason +
         "\r\n\r\n它可能被其他程序改写过.为了不显示伪造的磁盘,bootdeck 没有列出磁盘.\r\n\r\n"
         "请关闭其他程序后重新运行 bootdeck.";
}

// Every failure of the listing file names the file in the report the program ends with.
template <typename Step> auto withFileNamed(const std::string &path, Step step) {
  try {
    return step();
  } catch (const Failure &failure) {
    throw Failure(failure.number(), unusable(path, failure.what()));
  }
}

} // namespace

std::optional<std::string> probeDiskItem(const ProbeContext &context, int diskNumber) {
  const std::string path = listingFilePath(context.appFolder);
  std::string listing;
  unsigned long exitCode = 0;
  {
    const std::unique_ptr<HeldFile> file =
        withFileNamed(path, [&] { return context.files.makeHeldFile(path); });
    const RunResult run = context.runner.run(probeCommandLine(context.appFolder, diskNumber),
                                             WindowStyle::Hidden, true);
    if (!run.started)
      throw Failure(run.errorNumber, run.errorText);
    exitCode = run.exitCode;
    listing = withFileNamed(path, [&] { return file->read(kListingLimitBytes); });
  }
  withFileNamed(path, [&] { context.files.deleteFile(path); });

  switch (listingVerdict(exitCode, listing.size())) {
  case ListingVerdict::NoDisk:
    return std::nullopt;
  case ListingVerdict::Disk:
    break;
  case ListingVerdict::TooLong:
    throw Failure(kInvalidData, untrusted(path, "它超过 64 KB."));
  case ListingVerdict::FailedProbe:
    throw Failure(kInvalidData,
                  untrusted(path, "列出 (hd" + std::to_string(diskNumber) + ") 的命令以代码 " +
                                      std::to_string(exitCode) + " 结束."));
  }
  return diskItemText(diskNumber, diskSize(listingSizeSum(listing), context.decimalSeparator));
}

void removeListingFile(const ProbeContext &context) {
  const std::string path = listingFilePath(context.appFolder);
  if (context.files.fileExists(path))
    context.files.deleteFile(path);
}

std::vector<std::string> enumerateDiskItems(const ProbeContext &context) {
  std::vector<std::string> items;
  for (int disk = kFirstProbedDisk; disk <= kLastProbedDisk; ++disk)
    if (std::optional<std::string> item = probeDiskItem(context, disk))
      items.push_back(*item);
  return items;
}

} // namespace bootdeck
