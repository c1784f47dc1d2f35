// The help window's life: one instance, its controls and keys, hidden by back as it was left and
// unloaded by its close box.
#include "tests/e2e/e2e_support.h"

#include "help/help_text.h"

namespace e2e {
namespace {

TEST(HelpWindow, OneInstanceControlsKeysBackAndCloseBox) {
  Folder folder("help");
  folder.map({{0, Folder::image("plain")}});
  App app(folder);
  const HWND main = app.main();
  ASSERT_TRUE(main);
  for (int count = 0; count < 5; ++count)
    press(GetDlgItem(main, IDC_HELP));
  app.sync();
  const HWND help = app.window(BOOTDECK_HELP_CLASS);
  ASSERT_TRUE(help);
  EXPECT_EQ(std::vector<HWND>{help}, app.windows(BOOTDECK_HELP_CLASS));
  EXPECT_EQ(nullptr, GetWindow(help, GW_OWNER));
  const std::vector<ControlRow> rows = {{IDC_TEXT2HELP, bootdeck::helpText(), 15, 15, 7755, 4905},
                                        {IDC_BACK, "返回", 6630, 5070, 1065, 390},
                                        {IDC_LABEL_TRUE, "bootdeck 1.0", 15, 5385, 2085, 255}};
  expectWindow(help, "帮助信息", 7770, 5625, rows);
  const HWND box = GetDlgItem(help, IDC_TEXT2HELP), back = GetDlgItem(help, IDC_BACK);
  EXPECT_EQ(ES_MULTILINE | ES_READONLY | WS_VSCROLL,
            GetWindowLongW(box, GWL_STYLE) &
                (ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL));

  // Tab stays within; Esc does nothing.
  ASSERT_TRUE(waitUntil([&] { return app.focus() == box; }));
  EXPECT_EQ((std::vector<int>{IDC_TEXT2HELP, IDC_BACK}),
            tabCycle(app, [](HWND focus) { pressKey(focus, VK_ESCAPE); }));

  // Enter presses back, which hides the window: it comes back as it was left.
  SendMessageW(box, EM_SETSEL, 120, 180); // first: a new selection scrolls to its caret
  SendMessageW(box, EM_LINESCROLL, 0, 25);
  SetWindowPos(help, nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const LRESULT firstLine = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
  EXPECT_GE(firstLine, 20);
  app.tab();
  pressKey(back, VK_RETURN);
  ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(help); }));
  press(GetDlgItem(main, IDC_HELP));
  ASSERT_EQ(help, app.window(BOOTDECK_HELP_CLASS));
  EXPECT_EQ(firstLine, SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0));
  EXPECT_EQ(MAKELONG(120, 180), SendMessageW(box, EM_GETSEL, 0, 0));
  RECT place;
  GetWindowRect(help, &place);
  EXPECT_EQ(20, place.left);
  EXPECT_EQ(30, place.top);
  press(GetDlgItem(main, IDC_JUSTTEST)); // the main window works meanwhile
  EXPECT_TRUE(waitUntil([&] { return checked(GetDlgItem(main, IDC_JUSTTEST)); }));
  EXPECT_TRUE(IsWindowVisible(help));

  // The close box unloads it: the next one is new, at the start of its text and centred.
  PostMessageW(help, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(waitUntil([&] { return app.windows(BOOTDECK_HELP_CLASS).empty(); }));
  press(GetDlgItem(main, IDC_HELP));
  const HWND loaded = app.window(BOOTDECK_HELP_CLASS);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(0, SendMessageW(GetDlgItem(loaded, IDC_TEXT2HELP), EM_GETFIRSTVISIBLELINE, 0, 0));
  expectWindow(loaded, "帮助信息", 7770, 5625, rows);
}

} // namespace
} // namespace e2e
