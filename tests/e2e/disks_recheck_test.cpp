// The chosen disk probed again after the confirmation: a run goes ahead only on the disk that
// was listed; when the disks changed meanwhile nothing is written and the user is told.
#include "tests/e2e/disks_fixture.h"

#include "platform/utf.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

const char kConfirmTitle[] = "请仔细核对您的参数:";
const char kChangedTitle[] = "注意:介质已变化";

// Two images of different sizes as disks 0 and 2, the second one chosen, and the program's
// command lines logged.
class ChosenDiskTest : public testing::Test {
protected:
  void SetUp() override {
    first_ = map_.copy("plain", "first");
    second_ = map_.copy("small", "second");
    map_.write({{0, first_}, {2, second_}});
    log_ = map_.folder() + "\\commands.log";
    started_ = std::make_unique<StartedApp>("chosen-disk",
                                            map_.environment(comspecLoggerEnvironment(log_)));
    ASSERT_TRUE(started_->main);
    pick(started_->list, 1);
    ASSERT_TRUE(textBecomes(started_->name, expectedBackupName(3)));
    firstHash_ = contentHash(first_);
    secondHash_ = contentHash(second_);
  }

  // Presses the execute button and agrees to the confirmation.
  void executeAndConfirm() const {
    press(control(started_->main, IDC_CHOOSEIT));
    const MessageBoxView confirm = app().waitForMessageBox();
    ASSERT_TRUE(confirm.hwnd()) << "no confirmation";
    ASSERT_EQ(kConfirmTitle, confirm.title());
    confirm.answer(IDOK);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(confirm.hwnd()); }));
  }

  // The probe of the chosen disk made after the confirmation.
  std::string recheckCommand() const {
    return pathFromEnvironment("BOOTDECK_E2E_COMSPEC_LOGGER") + " /c " + folder() +
           "\\mtldrinst.EXE -l (hd2) >  " + folder() + "\\tempch.tmp";
  }

  const std::string &folder() const { return started_->folder.path(); }
  const App &app() const { return started_->app; }

  DeviceMap map_;
  std::string first_, second_, log_;
  std::unique_ptr<StartedApp> started_;
  std::size_t firstHash_ = 0, secondHash_ = 0;
};

TEST_F(ChosenDiskTest, ChangedDisksStopTheRunAndNothingIsWritten) {
  const struct {
    const char *name;
    std::vector<std::pair<int, std::string>> disks;
  } cases[] = {
      {"chosen disk removed", {{0, first_}}},
      {"images swapped", {{0, second_}, {2, first_}}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    map_.write(c.disks);
    const size_t loggedBefore = loggedCommands(log_).size();
    executeAndConfirm();
    const MessageBoxView changed = app().waitForMessageBox();
    ASSERT_TRUE(changed.hwnd()) << "no message";
    EXPECT_EQ(kChangedTitle, changed.title());
    EXPECT_NE(std::string::npos, changed.text().find("\"" + smallItem(2) + "\"")) << changed.text();
    EXPECT_NE(std::string::npos, changed.text().find("刷新")) << changed.text();
    EXPECT_EQ(std::vector<int>{IDOK}, changed.buttons());
    changed.answer(IDOK);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(changed.hwnd()); }));

    const std::vector<std::string> logged = loggedCommands(log_);
    EXPECT_EQ(std::vector<std::string>{recheckCommand()},
              std::vector<std::string>(logged.begin() + loggedBefore, logged.end()));
    EXPECT_EQ(firstHash_, contentHash(first_));
    EXPECT_EQ(secondHash_, contentHash(second_));
    EXPECT_EQ((std::vector<std::string>{"bootdeck.exe", "grldrinst.exe", "mtldrinst.exe"}),
              folderEntries(folder()))
        << "a backup file or the listing file was left";
    EXPECT_TRUE(app().running());
  }
}

TEST_F(ChosenDiskTest, UnchangedDisksLetTheRunGoAhead) {
  executeAndConfirm();
  // The tool saves the first sector of disk 2 under the backup name, then writes its boot code.
  const std::string backup = folder() + "\\" + expectedBackupName(3);
  EXPECT_TRUE(waitUntil([&] { return contentHash(second_) != secondHash_; }))
      << "the chosen disk was not written";
  EXPECT_TRUE(waitUntil([&] {
    return GetFileAttributesW(bootdeck::widen(backup).c_str()) != INVALID_FILE_ATTRIBUTES;
  }));
  EXPECT_EQ(firstHash_, contentHash(first_));
  const std::vector<std::string> logged = loggedCommands(log_);
  ASSERT_EQ(13u, logged.size());
  EXPECT_EQ(recheckCommand(), logged[11]);
  EXPECT_NE(std::string::npos, logged[12].find("mtldrinst.exe")) << logged[12];
  EXPECT_NE(std::string::npos, logged[12].find(" --pause (hd2)")) << logged[12];
  EXPECT_EQ(nullptr, app().findWindow(L"#32770")) << "a message box after the run started";
}

} // namespace
} // namespace e2e
