// The chosen disk probed again after the confirmation: when the disks changed meanwhile nothing
// is written and the user is told. (An unchanged map lets the run go ahead: operation_execute.)
#include "tests/e2e/disks_fixture.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

TEST(ChosenDisk, ChangedDisksStopTheRunAndNothingIsWritten) {
  DeviceMap map;
  const std::string first = map.copy("plain", "first"), second = map.copy("small", "second");
  map.write({{0, first}, {2, second}});
  const std::string log = map.folder() + "\\commands.log";
  const StartedApp started("chosen-disk", map.environment(commandLoggerEnvironment(log)));
  ASSERT_TRUE(started.main);
  pick(started.list, 1);
  ASSERT_TRUE(textBecomes(started.name, expectedBackupName(3)));
  const std::size_t firstHash = contentHash(first), secondHash = contentHash(second);
  const std::string &folder = started.folder.path();
  const std::string recheck = pathFromEnvironment("BOOTDECK_E2E_COMMAND_LOGGER") + " /c " + folder +
                              "\\mtldrinst.EXE -l (hd2) >  " + folder + "\\tempch.tmp";

  const struct {
    const char *name;
    std::vector<std::pair<int, std::string>> disks;
  } cases[] = {
      {"chosen disk removed", {{0, first}}},
      {"images swapped", {{0, second}, {2, first}}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    map.write(c.disks);
    const size_t loggedBefore = loggedCommands(log).size();
    press(control(started.main, IDC_CHOOSEIT));
    const MessageBoxView confirm = started.app.waitForMessageBox();
    ASSERT_EQ("请仔细核对您的参数:", confirm.title());
    confirm.answer(IDOK);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(confirm.hwnd()); }));
    const MessageBoxView changed = started.app.waitForMessageBox();
    ASSERT_TRUE(changed.hwnd()) << "no message";
    EXPECT_EQ("注意:介质已变化", changed.title());
    EXPECT_NE(std::string::npos, changed.text().find("\"" + smallItem(2) + "\"")) << changed.text();
    EXPECT_NE(std::string::npos, changed.text().find("刷新")) << changed.text();
    EXPECT_EQ(std::vector<int>{IDOK}, changed.buttons());
    changed.answer(IDOK);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(changed.hwnd()); }));

    const std::vector<std::string> logged = loggedCommands(log);
    EXPECT_EQ(std::vector<std::string>{recheck},
              std::vector<std::string>(logged.begin() + loggedBefore, logged.end()));
    EXPECT_EQ(firstHash, contentHash(first));
    EXPECT_EQ(secondHash, contentHash(second));
    EXPECT_EQ((std::vector<std::string>{"bootdeck.exe", "grldrinst.exe", "mtldrinst.exe"}),
              folderEntries(folder))
        << "a backup file or the listing file was left";
    EXPECT_TRUE(started.app.running());
  }
}

} // namespace
} // namespace e2e
