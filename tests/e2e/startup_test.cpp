// Start-up: a folder the command lines would misread is refused, the tools are written whole and
// held until the end, a ComSpec outside the system folder is not run, a forged listing file is
// never shown as a disk, and a second bootdeck in the same folder ends with the error report.
#include "tests/e2e/e2e_support.h"

#include "app/startup_refusal.h"

#include "platform/scoped.h"
#include "platform/system_error.h"
#include "platform/utf.h"

namespace e2e {
namespace {

const std::vector<std::string> kDeployed = {"bootdeck.exe", "grldrinst.exe", "mtldrinst.exe"};

TEST(Startup, FolderTheCommandLinesWouldMisreadIsRefusedWhateverTheAnswer) {
  const std::string blank = "为了您的操作安全,您不能将程序防止在路径有空格的目录\r\n\r\n"
                            "建议您将程序防止在根目录.\r\n\r\n程序将退出.";
  const struct {
    const char *folder;
    int answer; // 0: the close box
    const char *characters;
  } cases[] = {{"a b\\c", IDOK, ""},
               {"R&D", 0, "\"&\" (和号)"},
               {"a;b\\100%^x", IDCANCEL, "\"^\" (脱字符), \"%\" (百分号), \";\" (分号)"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.folder);
    Folder folder(c.folder);
    folder.map({{0, Folder::image("plain")}});
    App app(folder);
    const Box box = app.box();
    // The folder as Windows reports it, and the characters it holds by name.
    const std::string prompt =
        *c.characters == '\0' ? blank
                              : bootdeck::startupRefusal(true, false, folder.path()).value_or("");
    EXPECT_EQ("注意:|" + prompt + "|1* 2|icon", box.describe());
    EXPECT_NE(std::string::npos, prompt.find(c.characters)) << prompt;
    for (HWND main : app.windows(BOOTDECK_MAIN_CLASS))
      EXPECT_FALSE(IsWindowVisible(main));
    box.answer(c.answer);
    EXPECT_EQ(1u, app.exitCode());
    EXPECT_EQ(std::vector<std::string>{"bootdeck.exe"}, entries(folder.path()));
    EXPECT_EQ(std::vector<std::string>{}, folder.commands()) << "a command ran";
  }
}

TEST(Startup, ToolsAreWrittenWholeNotThroughALinkAndHeldAndNoOutsideComSpecRuns) {
  Folder folder("全角\xE3\x80\x80空格"); // U+3000 is no blank
  folder.map({{0, Folder::image("plain")}});
  const std::string grldr = readFile(envPath("BOOTDECK_E2E_GRLDRINST"));
  const std::string mtldr = readFile(envPath("BOOTDECK_E2E_MTLDRINST"));
  // A longer file from an earlier run, and a hard link planted to a file elsewhere.
  writeFile(folder.path() + "\\mtldrinst.exe", std::string(mtldr.size() + 4096, 'x'));
  const std::string outside = folder.parent() + "\\outside.txt";
  writeFile(outside, "precious");
  ASSERT_TRUE(CreateHardLinkW(bootdeck::widen(folder.path() + "\\grldrinst.exe").c_str(),
                              bootdeck::widen(outside).c_str(), nullptr));
  // A ComSpec outside the system folder is never started: the system's cmd.exe lists the disk.
  App app(folder, envPath("BOOTDECK_E2E_COMMAND_LOGGER"));
  const HWND main = app.main();
  ASSERT_TRUE(main);
  EXPECT_EQ(std::vector<std::string>{"第1块介质 : 15 MB"},
            items(GetDlgItem(main, IDC_COMBO_CHOOSEHD)));
  EXPECT_TRUE(folder.commands().empty()) << "the ComSpec outside ran";
  EXPECT_EQ(folder.path() + "\\", text(GetDlgItem(main, IDC_LABEL)));
  EXPECT_EQ(kDeployed, entries(folder.path()));
  EXPECT_TRUE(readFile(folder.path() + "\\grldrinst.exe") == grldr);
  EXPECT_TRUE(readFile(folder.path() + "\\mtldrinst.exe") == mtldr) << "a stale tail stayed";
  EXPECT_EQ("precious", readFile(outside));
  // Another program may read them, but neither change, remove nor rename them.
  for (const char *name : {"grldrinst.exe", "mtldrinst.exe"}) {
    const std::wstring path = bootdeck::widen(folder.path() + "\\" + name);
    const DWORD anyShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    EXPECT_FALSE(bootdeck::ScopedFile(CreateFileW(path.c_str(), GENERIC_WRITE, anyShare, nullptr,
                                                  OPEN_EXISTING, 0, nullptr))
                     .valid())
        << name;
    EXPECT_FALSE(DeleteFileW(path.c_str())) << name;
    EXPECT_FALSE(MoveFileW(path.c_str(), (path + L".old").c_str())) << name;
  }
  press(GetDlgItem(main, IDC_EXIT));
  EXPECT_EQ(0u, app.exitCode());
  for (const char *name : {"grldrinst.exe", "mtldrinst.exe"})
    EXPECT_TRUE(DeleteFileW(bootdeck::widen(folder.path() + "\\" + name).c_str())) << name;
}

// The tools a running bootdeck holds cannot be written again: the second one names the file, the
// system's reason and the likely cause, and ends before any probe; the first one goes on.
TEST(Startup, ASecondBootdeckInTheSameFolderSaysWhichFileAndWhatToDo) {
  Folder folder("second");
  folder.map({{0, Folder::image("plain")}});
  App first(folder);
  ASSERT_TRUE(first.main());
  const size_t probes = folder.commands().size();
  App second(folder);
  const Box box = second.box();
  const std::string file = folder.path() + "\\grldrinst.exe";
  EXPECT_EQ("bootdeck|运行时错误 '32':\r\n\r\n无法写入文件:\r\n" + file + "\r\n\r\n" +
                bootdeck::systemErrorText(ERROR_SHARING_VIOLATION) +
                "\r\n\r\n可能另一个 bootdeck,或它启动的 grldrinst.exe 或 mtldrinst.exe 还在运行:"
                "请关闭它们后重新运行.杀毒软件也可能正在检查这个文件:请稍等片刻后重新运行.\r\n\r\n"
                "程序将退出.|1*|icon",
            box.describe());
  EXPECT_TRUE(second.windows(BOOTDECK_MAIN_CLASS).empty());
  box.answer(IDOK);
  EXPECT_EQ(32u, second.exitCode());
  EXPECT_EQ(probes, folder.commands().size()) << "the second one probed a disk";
  EXPECT_TRUE(first.running());
  EXPECT_TRUE(IsWindowVisible(first.main()));
}

} // namespace
} // namespace e2e
