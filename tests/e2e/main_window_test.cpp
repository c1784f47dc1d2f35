// The main window's life, started from a drive's root folder: its controls, start values,
// keyboard and the exit button.
#include "tests/e2e/e2e_support.h"

#include <set>

namespace e2e {
namespace {

TEST(MainWindow, ControlsStartValuesKeysAndExit) {
  Folder folder("R:\\"); // mapped by the test preparation to an empty host folder
  folder.map({{0, Folder::image("plain")}});
  App app(folder);
  const HWND main = app.main();
  ASSERT_TRUE(main);
  expectWindow(main, "bootdeck", 7305, 5310,
               {{IDC_COMBO_CHOOSEHD, "第1块介质 : 15 MB", 2355, 525, 4770, 300},
                {IDC_CHOOSEIT, "执行", 4860, 4695, 1080, 405},
                {IDC_TIP_WHICH2CHOOSE, "请您选择要将MTLDR 或 GRLDR 安装到哪一块介质上:", 2370, 135,
                 4305, 210},
                {IDC_A1, "", 150, 270, 825, 780},
                {IDC_OPTIONUNINSTALL, "卸载", 60, 465, 675, 225, IDC_A1},
                {IDC_OPTIONINSTALL, "安装", 60, 165, 705, 270, IDC_A1},
                {IDC_A2, "", 1050, 270, 870, 780},
                {IDC_MTLDR, "mtldr", 75, 180, 765, 240, IDC_A2},
                {IDC_GRLDR, "grldr", 75, 420, 765, 240, IDC_A2},
                {IDC_TO, "至", 2115, 465, 300, 225},
                {IDC_FROM, "于", 2100, 705, 255, 210},
                {IDC_BKFILETT, backupName(1), 1980, 1770, 5130, 255},
                {IDC_RESULTTEXT, ">输出结果-等待您下达指令...", 225, 2670, 6960, 1920},
                {IDC_PROCH, "高级", 5985, 2220, 1050, 375},
                {IDC_HELP, "帮助", 4905, 2220, 975, 375},
                {IDC_EXIT, "退出", 6030, 4710, 1125, 390},
                {IDC_JUSTTEST, "测试模式", 240, 2385, 1050, 225},
                {IDC_FRASH, "刷新", 6495, 90, 660, 255},
                {IDC_FRAME, "", 135, 1125, 7125, 960},
                {IDC_LABEL, "R:\\\\", 105, 165, 6855, 375, IDC_FRAME}, // the root's "\" and one
                {IDC_NOWSTATE, "当前状态", 210, 4710, 1005, 375},
                {IDC_RESTOREFILE, "恢复文件:", 960, 675, 810, 225, IDC_FRAME},
                {IDC_BKFILE, "备份文件\\", 75, 675, 855, 195, IDC_FRAME}});
  for (int id : {IDC_OPTIONINSTALL, IDC_MTLDR, IDC_OPTIONUNINSTALL, IDC_GRLDR, IDC_JUSTTEST})
    EXPECT_EQ(id == IDC_OPTIONINSTALL || id == IDC_MTLDR, checked(GetDlgItem(main, id))) << id;

  // Tab runs in tab-index order from the disk list, to the selected button of each option group;
  // Enter and Esc do nothing where no push button has the focus.
  const std::set<int> pushButtons = {IDC_CHOOSEIT, IDC_PROCH, IDC_HELP,
                                     IDC_EXIT,     IDC_FRASH, IDC_NOWSTATE};
  const auto enterAndEsc = [&](HWND focus) {
    if (!pushButtons.count(GetDlgCtrlID(focus))) {
      pressKey(focus, VK_RETURN);
      pressKey(focus, VK_ESCAPE);
    }
  };
  EXPECT_EQ((std::vector<int>{IDC_COMBO_CHOOSEHD, IDC_CHOOSEIT, IDC_OPTIONINSTALL, IDC_MTLDR,
                              IDC_BKFILETT, IDC_RESULTTEXT, IDC_PROCH, IDC_HELP, IDC_EXIT,
                              IDC_JUSTTEST, IDC_FRASH, IDC_NOWSTATE}),
            tabCycle(app, enterAndEsc));
  app.sync();
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_TRUE(app.windows(L"#32770").empty());
  press(GetDlgItem(main, IDC_OPTIONUNINSTALL));
  press(GetDlgItem(main, IDC_GRLDR)); // a click also focuses it
  ASSERT_TRUE(waitUntil([&] { return app.focus() == GetDlgItem(main, IDC_GRLDR); }));
  EXPECT_EQ((std::vector<int>{IDC_GRLDR, IDC_BKFILETT, IDC_RESULTTEXT, IDC_PROCH, IDC_HELP,
                              IDC_EXIT, IDC_JUSTTEST, IDC_FRASH, IDC_NOWSTATE, IDC_COMBO_CHOOSEHD,
                              IDC_CHOOSEIT, IDC_OPTIONUNINSTALL}),
            tabCycle(app));

  // Enter presses the focused exit button: the end, the tools left in the folder.
  while (app.focus() != GetDlgItem(main, IDC_EXIT) && app.running())
    app.tab();
  pressKey(app.focus(), VK_RETURN);
  EXPECT_EQ(0u, app.exitCode());
  EXPECT_EQ((std::vector<std::string>{"bootdeck.exe", "grldrinst.exe", "mtldrinst.exe"}),
            entries(folder.path()));
}

} // namespace
} // namespace e2e
