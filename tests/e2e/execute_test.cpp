// Execution on disk images of the test's own: the confirmation, refusals that run nothing, the
// tool's runs (test mode, install, a second run refused, restore), and the disk re-checked.
#include "tests/e2e/e2e_support.h"

namespace e2e {
namespace {

const char kWaiting[] = ">输出结果-等待您下达指令...";

TEST(Execute, ConfirmRefuseRunRefuseASecondRunRestoreAndRecheck) {
  Folder folder("execute");
  const std::string first = folder.copy("plain", "first"), second = folder.copy("small", "second");
  const std::uint64_t firstSum = digest(first), secondSum = digest(second);
  const std::string secondHead = readFile(second, 512);
  folder.map({{0, first}, {2, second}});
  App app(folder);
  const HWND main = app.main();
  ASSERT_TRUE(main);
  const auto get = [&](int id) { return GetDlgItem(main, id); };
  const auto runs = [&] { // the tool's command lines; the probes hold no --pause
    std::vector<std::string> found;
    for (const std::string &line : folder.commands()) {
      EXPECT_EQ(0u, line.find(interpreterCall())) << line;
      if (line.find(" --pause") != std::string::npos)
        found.push_back(line.substr(interpreterCall().size()));
    }
    return found;
  };
  const std::string tool = folder.path() + "\\";

  // The summary is shown before the question; only OK runs anything.
  const std::vector<std::string> summary = defaultSummary(folder.path(), "第1块介质 : 15 MB", 1);
  EXPECT_EQ(summary, compose(main));
  setText(get(IDC_RESULTTEXT), kWaiting);
  press(get(IDC_CHOOSEIT));
  const Box confirm = app.box();
  EXPECT_EQ("请仔细核对您的参数:|\r\n\r\n请仔细核对您的参数\r\n\r\n状态框显示您现在的状态,"
            "\r\n\r\n\r\n\r\n\r\n\r\n若确认无误,单击 \"确定\" 执行命令单击 \"取消\",取消命令执行"
            "\r\n\r\n\r\n|1* 2|icon",
            confirm.describe());
  EXPECT_EQ(summary, lines(text(get(IDC_RESULTTEXT))));
  confirm.answer(IDCANCEL);

  // A refused text or a failed composition tells why, asks nothing and keeps the result box.
  const struct {
    std::function<void()> choose;
    std::string message;
  } refusals[] = {
      {[&] { setText(get(IDC_BKFILETT), "a b"); },
       "bootdeck|备份/恢复文件名中不能有空格,也不能有以下字符:\r\n\\ / : * ? \" < > | "
       "& ^ %\r\n\r\n文件总是放在 bootdeck.exe 所在的文件夹中,所以框中只填文件名,不能有"
       "文件夹或盘符 (\\ 和 :).其他字符是 Windows 文件名中不允许的,或会被命令行误解.|1*|"
       "icon"},
      {[&] { setText(get(IDC_BKFILETT), "Nul.mbr"); },
       "bootdeck|备份/恢复文件名 Nul.mbr 是 Windows 的设备名 NUL,不是文件:"
       "安装程序会读写这个设备.\r\n\r\n设备名有 CON, PRN, AUX, NUL, COM1-COM9, "
       "LPT1-LPT9, CONIN$, CONOUT$,带扩展名也一样 (例如 nul.mbr).\r\n\r\n"
       "请换一个文件名.|1*|icon"},
      {[&] { setText(get(IDC_BKFILETT), "b."); },
       "bootdeck|备份/恢复文件名 b. 以点结尾:Windows 会去掉结尾的点,"
       "文件就不是状态框里写的那个.\r\n\r\n请去掉结尾的点,或换一个文件名.|1*|icon"},
      {[&] { SendMessageW(get(IDC_COMBO_CHOOSEHD), CB_SETCURSEL, WPARAM(-1), 0); },
       "bootdeck|Error 13 (类型不匹配) in procedure showstate of Form grubinstall|1*"}};
  for (const auto &refusal : refusals) {
    refusal.choose();
    setText(get(IDC_RESULTTEXT), kWaiting);
    press(get(IDC_CHOOSEIT));
    const Box box = app.box();
    EXPECT_EQ(refusal.message, box.describe());
    box.answer(IDOK);
    app.sync();
    EXPECT_TRUE(app.windows(L"#32770").empty()) << "asked after the message";
    EXPECT_EQ(kWaiting, text(get(IDC_RESULTTEXT)));
    SendMessageW(get(IDC_COMBO_CHOOSEHD), CB_SETCURSEL, 0, 0);
    setText(get(IDC_BKFILETT), backupName(1));
  }
  EXPECT_TRUE(runs().empty());

  // Test mode with GRLDR and dialog values not yet confirmed: the tool runs, writing nothing.
  setChecked(get(IDC_GRLDR), true);
  setChecked(get(IDC_JUSTTEST), true);
  press(get(IDC_PROCH));
  const HWND pro = app.window(BOOTDECK_PRO_CLASS);
  setChecked(GetDlgItem(pro, IDC_FLOPPYSCH), false);
  setChecked(GetDlgItem(pro, IDC_OPTION12), true);
  setText(GetDlgItem(pro, IDC_TEXT), "3");
  press(get(IDC_CHOOSEIT));
  app.box().answer(IDOK);
  EXPECT_NE("", app.toolScreen()) << "no tool waits for its key";
  EXPECT_EQ(std::vector<std::string>{tool + "grldrinst.exe --save-mbr=" + backupName(1) +
                                     " --mbr-disable-floppy --boot-prevmbr-first --time-out=3"
                                     " --read-only --pause (hd0)"},
            runs());
  ASSERT_TRUE(app.endTool());
  EXPECT_TRUE(digest(first) == firstSum && digest(second) == secondSum) << "written to";

  // An install on the second item, disk 2; a second run is refused while the tool waits.
  press(GetDlgItem(pro, IDC_CANCEL));
  setChecked(get(IDC_MTLDR), true);
  setChecked(get(IDC_JUSTTEST), false);
  pick(get(IDC_COMBO_CHOOSEHD), 1);
  ASSERT_TRUE(waitUntil([&] { return text(get(IDC_BKFILETT)) == backupName(3); }));
  press(get(IDC_CHOOSEIT));
  app.box().answer(IDOK);
  EXPECT_NE(std::string::npos, app.toolScreen().find("恭喜您,安装成功!"));
  EXPECT_EQ(tool + "mtldrinst.exe --save=" + backupName(3) + " --pause (hd2)", runs().back());
  press(get(IDC_CHOOSEIT));
  const Box refusal = app.box();
  EXPECT_EQ("bootdeck|上一次执行的命令还在运行:它的窗口还开着.\r\n\r\n"
            "请先在那个窗口中阅读结果,按任意键关闭它,然后再单击 \"执行\".|1*|icon",
            refusal.describe());
  refusal.answer(IDOK);
  app.sync();
  EXPECT_TRUE(app.windows(L"#32770").empty()) << "asked after the refusal";
  EXPECT_EQ(2u, runs().size());
  ASSERT_TRUE(app.endTool());
  const std::string installed = readFile(second, 512);
  EXPECT_NE(secondHead.substr(0, 440), installed.substr(0, 440)) << "boot code unchanged";
  EXPECT_EQ(secondHead.substr(440, 72), installed.substr(440, 72)) << "signature and table";
  EXPECT_TRUE(readFile(tool + backupName(3), 512) == secondHead);
  EXPECT_TRUE(digest(first) == firstSum);

  // The uninstall restores sector 0 from the backup file, which exists.
  setChecked(get(IDC_OPTIONUNINSTALL), true);
  press(get(IDC_CHOOSEIT));
  app.box().answer(IDOK);
  EXPECT_NE("", app.toolScreen());
  EXPECT_EQ("●您的恢复文件存在:" + tool + backupName(3) + ",所以用恢复文件恢复.",
            lines(text(get(IDC_RESULTTEXT))).at(2));
  EXPECT_EQ(tool + "mtldrinst.exe --restore=" + backupName(3) + " --pause (hd2)", runs().back());
  ASSERT_TRUE(app.endTool());
  EXPECT_TRUE(readFile(second, 512) == secondHead) << "not restored";

  // Disks that changed since the list was made: told after the confirmation, nothing written.
  folder.map({{0, second}, {2, first}});
  const size_t logged = folder.commands().size();
  const std::uint64_t secondNow = digest(second);
  press(get(IDC_CHOOSEIT));
  app.box().answer(IDOK);
  const Box changed = app.box();
  EXPECT_EQ(std::string("注意:磁盘已变化|列出磁盘之后,电脑上的硬盘或移动存储发生了变化:") +
                "您选择的 \"第3块介质 : 48 MB\" 已不是原来的那一块磁盘,已不存在,或现在无法读取."
                "\r\n\r\n为了不写错磁盘,程序没有执行任何操作.\r\n\r\n"
                "请单击 \"刷新\" 重新列出磁盘,仔细核对您的选择后再执行.|1*|icon",
            changed.describe());
  changed.answer(IDOK);
  app.sync();
  const std::vector<std::string> commands = folder.commands();
  EXPECT_EQ(std::vector<std::string>{interpreterCall() + tool + "mtldrinst.EXE -l (hd2) >  " +
                                     tool + "tempch.tmp"},
            std::vector<std::string>(commands.begin() + logged, commands.end()));
  EXPECT_TRUE(digest(first) == firstSum && digest(second) == secondNow) << "written to";
}

} // namespace
} // namespace e2e
