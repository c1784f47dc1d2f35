// The advanced-options dialog's life: made by the first install composition or by proch, one
// instance, its controls and keys, what the composition reads, OK, Cancel, the close box and Esc.
#include "tests/e2e/e2e_support.h"

namespace e2e {
namespace {

TEST(ProDialog, OneInstanceControlsKeysAndWhatTheCompositionReads) {
  Folder folder("pro");
  folder.map({{0, Folder::image("plain")}});
  App app(folder);
  const HWND main = app.main();
  ASSERT_TRUE(main);
  const auto dialogs = [&] { return app.windows(BOOTDECK_PRO_CLASS); };
  const std::vector<std::string> defaults = defaultSummary(folder.path(), "第1块介质 : 15 MB", 1);

  // An uninstall never reads it; an install makes a hidden one with the defaults.
  setChecked(GetDlgItem(main, IDC_OPTIONUNINSTALL), true);
  EXPECT_EQ("●卸载 ●MTLDR ", compose(main).front());
  EXPECT_TRUE(dialogs().empty());
  setChecked(GetDlgItem(main, IDC_OPTIONINSTALL), true);
  EXPECT_EQ(defaults, compose(main));
  ASSERT_EQ(1u, dialogs().size());
  const HWND pro = dialogs().front();
  EXPECT_FALSE(IsWindowVisible(pro));
  for (int count = 0; count < 3; ++count)
    press(GetDlgItem(main, IDC_PROCH));
  app.sync();
  EXPECT_EQ(std::vector<HWND>{pro}, dialogs());
  EXPECT_TRUE(IsWindowVisible(pro));
  EXPECT_EQ(nullptr, GetWindow(pro, GW_OWNER));
  EXPECT_TRUE(IsWindowEnabled(main)) << "modeless";
  expectWindow(
      pro, "高级选项", 4680, 4320,
      {{IDC_FLOPPYSCH, "启动时在软驱上搜索mtldr 或grldr", 150, 165, 4035, 270},
       {IDC_CANNOTBOOTPRE, "启动时分区表非法时启动原来的MBR", 150, 615, 3930, 300},
       {IDC_CHECK1, "同时备份原来的MBR到第二扇区", 150, 1080, 2820, 360},
       {IDC_OPTION11, "优先引导安装的MBR", 165, 2175, 2055, 255},
       {IDC_OPTION12, "优先引导原来的MBR", 150, 2520, 2955, 330},
       {IDC_WAITSEC, "等待", 3270, 2595, 375, 210},
       {IDC_TEXT, "5", 3600, 2550, 510, 270},
       {IDC_LABEL0, "秒", 4110, 2595, 270, 195},
       {IDC_LABEL1, "注意: 若选中后者,在5秒内按空格,马上搜索安装的MBR", 180, 2925, 4125, 405},
       {IDC_ALLRIGHT, "确定", 2100, 3735, 1125, 390},
       {IDC_CANCEL, "取消", 3390, 3735, 1095, 390}});
  const auto get = [&](int id) { return GetDlgItem(pro, id); };
  for (int id : {IDC_FLOPPYSCH, IDC_CANNOTBOOTPRE, IDC_CHECK1, IDC_OPTION11, IDC_OPTION12})
    EXPECT_EQ(id != IDC_OPTION12, checked(get(id))) << id;
  // Enter in the time-out box presses no button; the box takes two characters.
  const HWND timeOut = get(IDC_TEXT);
  ASSERT_EQ(get(IDC_ALLRIGHT), app.focus());
  EXPECT_EQ((std::vector<int>{IDC_ALLRIGHT, IDC_CANCEL, IDC_FLOPPYSCH, IDC_CANNOTBOOTPRE, IDC_TEXT,
                              IDC_CHECK1, IDC_OPTION11}),
            tabCycle(app, [&](HWND focus) {
              if (focus == timeOut)
                pressKey(focus, VK_RETURN);
            }));
  EXPECT_TRUE(IsWindowVisible(pro));
  setText(timeOut, "");
  for (wchar_t c : std::wstring(L"123"))
    SendMessageW(timeOut, WM_CHAR, c, 1);
  EXPECT_EQ("12", text(timeOut));

  // The values as they stand, not yet confirmed, are what a composition reads.
  setChecked(get(IDC_FLOPPYSCH), false);
  setChecked(get(IDC_CHECK1), false);
  setChecked(get(IDC_OPTION12), true);
  std::vector<std::string> changed(defaults.begin(), defaults.begin() + 3);
  changed.insert(changed.end(),
                 {"●不备份原来的MBR到第二扇区.", "●启动时不在软驱上搜索mtldr 或grldr",
                  "●启动时,分区表非法时启动原来的MBR", "●优先引导原来的MBR",
                  "●在启动原来的MBR之前等待12秒.", ""});
  EXPECT_EQ(changed, compose(main));
  EXPECT_TRUE(IsWindowVisible(pro)) << "a composition never hides it";

  // OK refuses a time-out that is no number, then confirms one in plain decimal and hides.
  setText(timeOut, "1a");
  press(get(IDC_ALLRIGHT));
  const Box refusal = app.box();
  EXPECT_EQ("bootdeck|请正确的填写选项并细心核对.|1*", refusal.describe());
  refusal.answer(IDOK);
  EXPECT_TRUE(waitUntil([&] { return text(timeOut) == "5"; }));
  setText(timeOut, "07");
  press(get(IDC_ALLRIGHT));
  ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(pro); }));
  press(GetDlgItem(main, IDC_PROCH));
  ASSERT_EQ(pro, app.window(BOOTDECK_PRO_CLASS)) << "the hidden one shown again";
  EXPECT_EQ("7", text(timeOut));
  EXPECT_FALSE(checked(get(IDC_FLOPPYSCH)));

  // Cancel, the close box and Esc end it: the next reader and the next opening get the defaults.
  press(get(IDC_CANCEL));
  ASSERT_TRUE(waitUntil([&] { return dialogs().empty(); }));
  EXPECT_EQ(defaults, compose(main));
  press(GetDlgItem(main, IDC_PROCH));
  setChecked(GetDlgItem(app.window(BOOTDECK_PRO_CLASS), IDC_FLOPPYSCH), false);
  PostMessageW(app.window(BOOTDECK_PRO_CLASS), WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(waitUntil([&] { return dialogs().empty(); }));
  press(GetDlgItem(main, IDC_PROCH));
  const HWND again = app.window(BOOTDECK_PRO_CLASS);
  EXPECT_TRUE(checked(GetDlgItem(again, IDC_FLOPPYSCH)));
  pressKey(GetDlgItem(again, IDC_TEXT), VK_ESCAPE);
  ASSERT_TRUE(waitUntil([&] { return dialogs().empty(); }));

  // The main window's close box ends the run, also with the dialog shown.
  press(GetDlgItem(main, IDC_PROCH));
  ASSERT_TRUE(app.window(BOOTDECK_PRO_CLASS));
  PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(0u, app.exitCode());
}

} // namespace
} // namespace e2e
