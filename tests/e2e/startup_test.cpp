// Start-up: the refusals of a folder, deployment of the installer tool's two builds and holding
// them, and its failures.
#include "tests/e2e/driver/app.h"
#include "tests/e2e/driver/temp_folder.h"
#include "tests/e2e/e2e_support.h"

#include "app/control_ids.h"
#include "platform/scoped.h"
#include "platform/utf.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

const char kBlankTitle[] = "注意:";
const char kBlankPrompt[] = "为了您的操作安全,您不能将程序防止在路径有空格的目录\r\n\r\n"
                            "建议您将程序防止在根目录.\r\n\r\n"
                            "程序将退出.";

std::string characterPrompt(const std::string &named) {
  return "为了您的操作安全,您不能将程序放在路径有以下字符的目录: " + named +
         "\r\n\r\n命令行会误解这些字符.建议您将程序放在根目录.\r\n\r\n程序将退出.";
}

TEST(Startup, FolderThatCommandLinesWouldMisreadIsRefusedWhateverTheAnswerAndNothingIsWritten) {
  enum Answer { Ok, Cancel, CloseBox };
  const struct {
    const char *folder;
    Answer answer;
    std::string prompt;
  } cases[] = {
      {"last folder", Ok, kBlankPrompt},
      {"parent folder\\child", Cancel, kBlankPrompt},
      {"two blanks\\in both", CloseBox, kBlankPrompt},
      {"R&D", Ok, characterPrompt("&")},
      {"a;b\\100%^x", Cancel, characterPrompt("^ % ;")},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.folder);
    TempFolder folder(c.folder);
    const std::string log = folder.path() + "-commands.log";
    Environment environment = deviceMapEnvironment();
    environment.merge(commandLoggerEnvironment(log));
    App app(bootdeckExe(), folder.path(), environment);
    const MessageBoxView box = app.waitForMessageBox();
    ASSERT_TRUE(box.hwnd()) << "no message box";
    EXPECT_EQ(kBlankTitle, box.title());
    EXPECT_EQ(c.prompt, box.text());
    EXPECT_EQ((std::vector<int>{IDOK, IDCANCEL}), box.buttons());
    EXPECT_EQ(IDOK, LOWORD(SendMessageW(box.hwnd(), DM_GETDEFID, 0, 0)));
    EXPECT_TRUE(box.hasIcon());
    EXPECT_EQ(nullptr, app.findWindow(BOOTDECK_MAIN_CLASS));
    if (c.answer == CloseBox)
      box.close();
    else
      box.answer(c.answer == Ok ? IDOK : IDCANCEL);
    DWORD code = 0;
    ASSERT_TRUE(app.waitForExit(&code));
    EXPECT_EQ(1u, code);
    EXPECT_EQ(std::vector<std::string>{"bootdeck.exe"}, folderEntries(folder.path()));
    EXPECT_TRUE(loggedCommands(log).empty()) << "a command ran";
  }
}

TEST(Startup, ToolFilesAreTheEmbeddedBuildsByteForByteAlsoUnderAnIdeographicBlank) {
  const std::string grldr = readFileBytes(pathFromEnvironment("BOOTDECK_E2E_GRLDRINST"));
  const std::string mtldr = readFileBytes(pathFromEnvironment("BOOTDECK_E2E_MTLDRINST"));
  ASSERT_FALSE(grldr.empty());
  ASSERT_FALSE(mtldr.empty());
  const std::string stale(std::max(grldr.size(), mtldr.size()) + 4096, '\xA5');
  const struct {
    const char *name;
    bool stale;  // tool files of an earlier run, longer than these
    bool linked; // grldrinst.exe a hard link to a file outside the folder
  } cases[] = {{"全角\xE3\x80\x80空格", false, false}, // U+3000: no blank
               {"stale", true, false},
               {"linked", false, true}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder(c.name);
    const std::string outside = folder.path() + "-outside.txt";
    if (c.stale) {
      writeFileBytes(folder.path() + "\\grldrinst.exe", stale);
      writeFileBytes(folder.path() + "\\mtldrinst.exe", stale);
    }
    if (c.linked) {
      writeFileBytes(outside, "precious");
      ASSERT_TRUE(CreateHardLinkW(bootdeck::widen(folder.path() + "\\grldrinst.exe").c_str(),
                                  bootdeck::widen(outside).c_str(), nullptr));
    }
    App app(bootdeckExe(), folder.path(), deviceMapEnvironment());
    HWND main = mainWindowOf(app);
    ASSERT_TRUE(main);
    EXPECT_EQ(folder.path() + "\\", text(control(main, IDC_LABEL)));
    EXPECT_EQ((std::vector<std::string>{"bootdeck.exe", "grldrinst.exe", "mtldrinst.exe"}),
              folderEntries(folder.path()));
    // Compared whole: a stale tail beyond the payload's length would show as a size mismatch.
    EXPECT_TRUE(readFileBytes(folder.path() + "\\grldrinst.exe") == grldr);
    EXPECT_TRUE(readFileBytes(folder.path() + "\\mtldrinst.exe") == mtldr);
    // Held while the program runs: another program can read them, but neither change, remove
    // nor rename them; once it has ended, they can be removed.
    for (const char *name : {"grldrinst.exe", "mtldrinst.exe"}) {
      SCOPED_TRACE(name);
      const std::wstring path = bootdeck::widen(folder.path() + "\\" + name);
      const bootdeck::ScopedFile writer(CreateFileW(
          path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
          nullptr, OPEN_EXISTING, 0, nullptr));
      EXPECT_FALSE(writer.valid()) << "opened for writing";
      EXPECT_FALSE(DeleteFileW(path.c_str())) << "deleted";
      EXPECT_FALSE(MoveFileW(path.c_str(), (path + L".old").c_str())) << "renamed";
    }
    press(control(main, IDC_EXIT));
    DWORD code = 0;
    ASSERT_TRUE(app.waitForExit(&code));
    for (const char *name : {"grldrinst.exe", "mtldrinst.exe"})
      EXPECT_TRUE(DeleteFileW(bootdeck::widen(folder.path() + "\\" + name).c_str())) << name;
    if (c.linked)
      EXPECT_EQ("precious", readFileBytes(outside)) << "written through the link";
  }
}

TEST(Startup, ToolFileThatCannotBeWrittenEndsWithTheErrorReportAndNonZeroExit) {
  const std::string grldr = readFileBytes(pathFromEnvironment("BOOTDECK_E2E_GRLDRINST"));
  const struct {
    const char *name;
    bool inUse; // held open for writing by another program; otherwise read-only
    unsigned long error;
  } cases[] = {
      {"mtldrinst.exe", false, ERROR_ACCESS_DENIED},
      {"grldrinst.exe", true, ERROR_SHARING_VIOLATION},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(std::string(c.name) + (c.inUse ? " in use" : " read-only"));
    TempFolder folder("unwritable");
    const std::string path = folder.path() + "\\" + c.name;
    const std::string log = folder.path() + "-commands.log";
    writeFileBytes(path, "old");
    bootdeck::ScopedFile held;
    if (c.inUse)
      held.reset(CreateFileW(bootdeck::widen(path).c_str(), GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr));
    else
      ASSERT_TRUE(setReadOnly(path, true));
    Environment environment = deviceMapEnvironment();
    environment.merge(commandLoggerEnvironment(log));
    App app(bootdeckExe(), folder.path(), environment);
    const MessageBoxView box = app.waitForMessageBox();
    ASSERT_TRUE(box.hwnd()) << "no error report";
    EXPECT_EQ("bootdeck", box.title());
    EXPECT_EQ("运行时错误 '" + std::to_string(c.error) + "':\r\n\r\n" +
                  bootdeck::systemErrorText(c.error),
              box.text());
    EXPECT_EQ(std::vector<int>{IDOK}, box.buttons());
    EXPECT_EQ(nullptr, app.findWindow(BOOTDECK_MAIN_CLASS));
    box.answer(IDOK);
    DWORD code = 0;
    ASSERT_TRUE(app.waitForExit(&code));
    EXPECT_NE(0u, code);
    held.reset();
    EXPECT_EQ("old", readFileBytes(path));
    EXPECT_TRUE(loggedCommands(log).empty()) << "a disk was probed";
    if (std::string(c.name) == "mtldrinst.exe") { // written before the failure, so it stays
      EXPECT_TRUE(readFileBytes(folder.path() + "\\grldrinst.exe") == grldr);
    }
  }
}

TEST(Startup, ProgramInADrivesRootFolder) {
  // R: is mapped by the test preparation to an empty host folder.
  const std::string root = "R:\\";
  removeTree(root);
  struct Cleanup {
    ~Cleanup() { removeTree("R:\\"); }
  } cleanup;
  App app(bootdeckExe(), root, deviceMapEnvironment());
  HWND main = mainWindowOf(app);
  ASSERT_TRUE(main);
  EXPECT_EQ("R:\\\\", text(control(main, IDC_LABEL)));
  EXPECT_TRUE(readFileBytes("R:\\grldrinst.exe") ==
              readFileBytes(pathFromEnvironment("BOOTDECK_E2E_GRLDRINST")));
  EXPECT_TRUE(readFileBytes("R:\\mtldrinst.exe") ==
              readFileBytes(pathFromEnvironment("BOOTDECK_E2E_MTLDRINST")));
}

} // namespace
} // namespace e2e
