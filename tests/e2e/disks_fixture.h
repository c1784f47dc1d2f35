// What the disk-list tests share: device maps of their own over the images made by
// disks_prepare.sh, the texts the disk list shows for those images, and hashes of images.
#pragma once

#include "tests/e2e/driver/app.h"
#include "tests/e2e/driver/temp_folder.h"
#include "tests/e2e/e2e_support.h"

#include "app/control_ids.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// Items of the prepared images as the disk list shows them on disk number `disk`.
inline std::string plainItem(int disk) {
  return "第" + std::to_string(disk + 1) + "块介质 : 15 MB";
}
inline std::string smallItem(int disk) {
  return "第" + std::to_string(disk + 1) + "块介质 : 48 MB";
}
inline std::string hugeItem(int disk) {
  return "第" + std::to_string(disk + 1) + "块介质 : 3072 GB";
}

// Today's backup name for item number `item`: the short date with the characters a file name
// cannot hold made "-".
inline std::string expectedBackupName(int item) {
  std::string date = bootdeck::shortDateText();
  for (char &c : date)
    if (std::string("\\/:*?\"<>|").find(c) != std::string::npos)
      c = '-';
  return date + "-" + std::to_string(item);
}

// A device map file of the test's own, and copies of the prepared images that the test may
// write to.
class DeviceMap {
public:
  DeviceMap() : folder_("disk-images") {}

  // A prepared image, used in place: for tests that never write to it.
  static std::string prepared(const std::string &name) {
    const std::string sharedMap = pathFromEnvironment("BOOTDECK_E2E_DEVICE_MAP");
    return sharedMap.substr(0, sharedMap.rfind('\\')) + "\\disks\\" + name + ".img";
  }
  // A copy of a prepared image in the test's folder, as `copyName`.
  std::string copy(const std::string &name, const std::string &copyName) const {
    const std::string target = folder_.path() + "\\" + copyName + ".img";
    writeFileBytes(target, readFileBytes(prepared(name)));
    return target;
  }

  // Replaces the map's content: one line "(hdN) PATH" per disk.
  void write(const std::vector<std::pair<int, std::string>> &disks) const {
    std::string lines;
    for (const auto &disk : disks)
      lines += "(hd" + std::to_string(disk.first) + ") " + disk.second + "\r\n";
    writeFileBytes(path(), lines);
  }
  std::string path() const { return folder_.path() + "\\device.map"; }
  // The map's folder, also for other files of the test (a command log).
  const std::string &folder() const { return folder_.path(); }

  // The program's environment with this map, and any further variables.
  Environment environment(Environment more = {}) const {
    more["BOOTDECK_DEVICE_MAP"] = path();
    return more;
  }

private:
  TempFolder folder_;
};

// bootdeck started in a folder of its own, with its main window and the two controls of the disk
// choice; the window handles are null when the start-up did not run through.
struct StartedApp {
  StartedApp(const std::string &folderName, const Environment &environment)
      : folder(folderName), app(bootdeckExe(), folder.path(), environment), main(mainWindowOf(app)),
        list(control(main, IDC_COMBO_CHOOSEHD)), name(control(main, IDC_BKFILETT)) {}

  TempFolder folder;
  App app;
  HWND main, list, name;
};

inline std::size_t contentHash(const std::string &path) {
  return std::hash<std::string>()(readFileBytes(path));
}

// Waits until the control's text is `expected`; on a timeout the test shows both.
inline ::testing::AssertionResult textBecomes(HWND control, const std::string &expected) {
  std::string actual;
  if (waitUntil([&] { return (actual = text(control)) == expected; }))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "expected \"" << expected << "\", got \"" << actual << "\"";
}

// Waits until the drop-down list holds `expected`; on a timeout the test shows what it holds.
inline ::testing::AssertionResult itemsBecome(HWND combo,
                                              const std::vector<std::string> &expected) {
  std::vector<std::string> actual;
  if (waitUntil([&] { return (actual = items(combo)) == expected; }))
    return ::testing::AssertionSuccess();
  ::testing::AssertionResult failure = ::testing::AssertionFailure();
  failure << "got " << actual.size() << " items:";
  for (const std::string &item : actual)
    failure << " \"" << item << "\"";
  return failure;
}

} // namespace e2e
