// The disk list: its items for the disks of a device map, the choice of a disk and the backup
// name, refresh, the end of the program when no disk answers, and enumeration failures.
#include "tests/e2e/disks_fixture.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

const char kNoMediumTitle[] = "错误:无安装介质";
const char kNoMediumPrompt[] = "您的电脑没装硬盘或移动存储!\r\n\r\n"
                               "安装文件无法部署在安装介质上,请确认后重新运行程序.\r\n"
                               "程序将退出.";

const std::vector<std::string> kToolFilesOnly = {"bootdeck.exe", "grldrinst.exe", "mtldrinst.exe"};

// Checks the no-medium message, answers it and checks that the program ended, leaving the tool
// files and no listing file.
void expectNoMediumEnd(const App &app, const TempFolder &folder, int answer) {
  const MessageBoxView box = app.waitForMessageBox();
  ASSERT_TRUE(box.hwnd()) << "no message box";
  EXPECT_EQ(kNoMediumTitle, box.title());
  EXPECT_EQ(kNoMediumPrompt, box.text());
  EXPECT_EQ((std::vector<int>{IDYES, IDNO}), box.buttons());
  // The first button is the default one. (Wine's DM_GETDEFID answers IDOK for a box without
  // one, so the buttons' styles tell.)
  EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongW(GetDlgItem(box.hwnd(), IDYES), GWL_STYLE) & 0xF);
  EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongW(GetDlgItem(box.hwnd(), IDNO), GWL_STYLE) & 0xF);
  EXPECT_TRUE(box.hasIcon());
  box.answer(answer);
  DWORD code = 0;
  ASSERT_TRUE(app.waitForExit(&code)) << "still running after the answer";
  EXPECT_EQ(kToolFilesOnly, folderEntries(folder.path()));
}

TEST(DiskList, DisksZeroAndTwoGiveItemsOneAndThreeAndTheExactElevenProbes) {
  DeviceMap map;
  map.write({{0, DeviceMap::prepared("plain")}, {2, DeviceMap::prepared("small")}});
  const std::string log = map.folder() + "\\commands.log";
  const StartedApp started("list", map.environment(commandLoggerEnvironment(log)));
  ASSERT_TRUE(started.main);
  const HWND list = started.list, name = started.name;
  const std::string &folder = started.folder.path();

  EXPECT_EQ((std::vector<std::string>{plainItem(0), smallItem(2)}), items(list));
  EXPECT_EQ(0, selectedIndex(list));
  EXPECT_EQ(expectedBackupName(1), text(name));

  // A typed name gives way to the name of the disk chosen afterwards.
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"my-backup"));
  pick(list, 1);
  EXPECT_TRUE(textBecomes(name, expectedBackupName(3)));
  pick(list, 0);
  EXPECT_TRUE(textBecomes(name, expectedBackupName(1)));

  EXPECT_EQ(kToolFilesOnly, folderEntries(folder)) << "listing file left behind";
  const std::string logger = pathFromEnvironment("BOOTDECK_E2E_COMMAND_LOGGER");
  std::vector<std::string> expected;
  for (int disk = 0; disk <= 10; ++disk)
    expected.push_back(logger + " /c " + folder + "\\mtldrinst.EXE -l (hd" + std::to_string(disk) +
                       ") >  " + folder + "\\tempch.tmp");
  EXPECT_EQ(expected, loggedCommands(log));
}

TEST(DiskList, NoDiskWithinTheProbesEndsTheProgramAfterYes) {
  DeviceMap map;
  map.write({{11, DeviceMap::prepared("plain")}}); // the probes end at disk 10
  TempFolder folder("no-disk");
  App app(bootdeckExe(), folder.path(), map.environment());
  EXPECT_EQ(nullptr, app.findWindow(BOOTDECK_MAIN_CLASS));
  expectNoMediumEnd(app, folder, IDYES);
}

TEST(DiskList, RefreshRebuildsTheListSelectsTheFirstDiskAndEndsAfterNoWhenNoneIsLeft) {
  DeviceMap map;
  map.write({{0, DeviceMap::prepared("plain")}, {2, DeviceMap::prepared("small")}});
  const StartedApp started("refresh", map.environment());
  ASSERT_TRUE(started.main);
  const HWND list = started.list, name = started.name;
  pick(list, 1);
  ASSERT_TRUE(textBecomes(name, expectedBackupName(3)));
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed"));
  map.write({{9, DeviceMap::prepared("plain")}, {10, DeviceMap::prepared("huge")}});
  press(control(started.main, IDC_FRASH));
  EXPECT_TRUE(itemsBecome(list, {plainItem(9), hugeItem(10)}));
  EXPECT_EQ(0, selectedIndex(list));
  EXPECT_TRUE(textBecomes(name, expectedBackupName(10)));
  pick(list, 1);
  EXPECT_TRUE(textBecomes(name, expectedBackupName(11)));
  EXPECT_EQ(kToolFilesOnly, folderEntries(started.folder.path()));

  map.write({});
  press(control(started.main, IDC_FRASH));
  expectNoMediumEnd(started.app, started.folder, IDNO);
}

TEST(DiskList, UndeletableListingFileEndsWithTheErrorReportAboveDisabledWindows) {
  // A read-only listing file (copied from a CD, say) cannot be replaced nor deleted. The report
  // is the program's last word: while it is up, no window may start anything more.
  DeviceMap map;
  map.write({{0, DeviceMap::prepared("plain")}});
  const StartedApp started("refresh-fails", map.environment());
  ASSERT_TRUE(started.main);
  press(control(started.main, IDC_HELP));
  const HWND help = started.app.waitForWindow(BOOTDECK_HELP_CLASS);
  ASSERT_TRUE(help);
  const std::string listing = started.folder.path() + "\\tempch.tmp";
  writeFileBytes(listing, " 0  06        800        800\r\n");
  ASSERT_TRUE(setReadOnly(listing, true));
  press(control(started.main, IDC_FRASH));
  const MessageBoxView box = started.app.waitForMessageBox();
  ASSERT_TRUE(box.hwnd()) << "no error report";
  EXPECT_EQ("bootdeck", box.title());
  EXPECT_EQ(std::vector<int>{IDOK}, box.buttons());
  EXPECT_EQ("运行时错误 '5':\r\n\r\n" + bootdeck::systemErrorText(ERROR_ACCESS_DENIED), box.text());
  EXPECT_FALSE(IsWindowEnabled(started.main)) << "main window";
  EXPECT_FALSE(IsWindowEnabled(help)) << "help window";
  box.answer(IDOK);
  DWORD code = 0;
  ASSERT_TRUE(started.app.waitForExit(&code));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), code);
}

} // namespace
} // namespace e2e
