// The help window as a person meets it: one instance at most, hidden by back as it was left,
// unloaded by its close box and with the main window.
#include "tests/e2e/driver/app.h"
#include "tests/e2e/driver/screen.h"
#include "tests/e2e/e2e_support.h"

#include "app/control_ids.h"
#include "help/help_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e {
namespace {

std::pair<DWORD, DWORD> selection(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

class HelpWindowTest : public MainWindowFixture {
protected:
  HelpWindowTest() : MainWindowFixture("help") {}

  std::vector<HWND> helpWindows() const {
    return windowsOfClass(app_->processId(), BOOTDECK_HELP_CLASS);
  }

  void settle() const { ASSERT_TRUE(drainPostedMessages(get(IDC_BKFILETT))); }

  HWND openHelp() {
    press(get(IDC_HELP));
    settle();
    return app_->waitForWindow(BOOTDECK_HELP_CLASS);
  }
};

TEST_F(HelpWindowTest, OneInstanceWithItsLookKeysAndAMainWindowThatStaysUsable) {
  HWND help = nullptr;
  for (int count = 1; count <= 5; ++count) {
    HWND shown = openHelp();
    if (!help)
      help = shown;
    EXPECT_EQ(std::vector<HWND>{help}, helpWindows()) << "after press " << count;
    EXPECT_TRUE(IsWindowVisible(help)) << "after press " << count;
  }
  ASSERT_TRUE(help);
  EXPECT_EQ("帮助信息", text(help));
  EXPECT_EQ(nullptr, GetWindow(help, GW_OWNER)) << "no owner window";
  expectFixedSizeCentred(help, 7770, 5625);
  const struct {
    int id;
    const char *className;
    std::string text;
    int left, top, width, height;
  } controls[] = {
      {IDC_TEXT2HELP, "Edit", bootdeck::helpText(), 15, 15, 7755, 4905},
      {IDC_BACK, "Button", "返回", 6630, 5070, 1065, 390},
      {IDC_LABEL_TRUE, "Static", std::string(bootdeck::creditText()), 15, 5385, 2085, 255},
  };
  for (const auto &expected : controls) {
    SCOPED_TRACE("control " + std::to_string(expected.id));
    HWND hwnd = control(help, expected.id);
    ASSERT_TRUE(hwnd);
    EXPECT_EQ(expected.className, className(hwnd));
    EXPECT_EQ(expected.text, text(hwnd));
    expectPlacedAt(hwnd, expected.left, expected.top, expected.width, expected.height);
  }
  HWND box = control(help, IDC_TEXT2HELP), back = control(help, IDC_BACK);
  const LONG boxStyle = GetWindowLongW(box, GWL_STYLE);
  EXPECT_EQ(ES_MULTILINE | ES_READONLY | WS_VSCROLL,
            boxStyle & (ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL));
  EXPECT_GT(SendMessageW(box, EM_GETLINECOUNT, 0, 0), 71) << "long lines wrap";

  // The credit: highlight-coloured text on the window's face; anti-aliased edges blend the two.
  const ClientPixels label(control(help, IDC_LABEL_TRUE));
  const int highlight = label.count(GetSysColor(COLOR_3DHILIGHT));
  EXPECT_GT(highlight, 20);
  EXPECT_LT(label.width() * label.height() - highlight - label.count(GetSysColor(COLOR_3DFACE)),
            highlight * 3);

  // Tab stays within; Esc does nothing; Enter presses only the focused button.
  ASSERT_TRUE(waitUntil([&] { return app_->focus() == box; })) << "focus starts in the text";
  const auto tabTo = [&](HWND expected) {
    pressKey(app_->focus(), VK_TAB);
    return waitUntil([&] { return app_->focus() == expected; }, Milliseconds(3000));
  };
  const auto stillOpenAfter = [&](HWND focused, WORD key) {
    pressKey(focused, key);
    settle();
    return IsWindowVisible(help) && helpWindows() == std::vector<HWND>{help};
  };
  ASSERT_TRUE(tabTo(back));
  ASSERT_TRUE(tabTo(box)) << "Tab leaves the text box";
  EXPECT_TRUE(stillOpenAfter(box, VK_ESCAPE));
  EXPECT_TRUE(stillOpenAfter(box, VK_RETURN));
  ASSERT_TRUE(tabTo(back));
  EXPECT_TRUE(stillOpenAfter(back, VK_ESCAPE));
  pressKey(back, VK_RETURN);
  EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(help); })) << "Enter pressed back";

  help = openHelp();
  for (int id : {IDC_JUSTTEST, IDC_GRLDR, IDC_OPTIONUNINSTALL}) {
    press(get(id));
    EXPECT_TRUE(waitUntil([&] { return checked(get(id)); })) << "control " << id;
  }
  EXPECT_TRUE(IsWindowVisible(help));
  EXPECT_FALSE(app_->findWindow(L"#32770"));
  EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == main_; }));
  EXPECT_EQ(help, openHelp());
  EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == help; })) << "brought forward";
}

TEST_F(HelpWindowTest, BackKeepsTheWindowAsLeftCloseBoxUnloadsItAndSoDoesTheMainWindow) {
  HWND help = openHelp();
  ASSERT_TRUE(help);
  HWND box = control(help, IDC_TEXT2HELP);
  SendMessageW(box, EM_SETSEL, 120, 180); // first: a new selection scrolls its caret into view
  SendMessageW(box, EM_LINESCROLL, 0, 25);
  SetWindowPos(help, nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const LRESULT firstLine = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
  ASSERT_GE(firstLine, 20);

  press(control(help, IDC_BACK));
  ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(help); }));
  EXPECT_TRUE(IsWindow(help)) << "hidden, not unloaded";
  EXPECT_TRUE(waitUntil([&] { return IsChild(main_, app_->focus()); }));
  EXPECT_EQ(help, openHelp());
  EXPECT_EQ(std::vector<HWND>{help}, helpWindows());
  EXPECT_EQ(firstLine, SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0));
  EXPECT_EQ(std::make_pair(DWORD(120), DWORD(180)), selection(box));
  RECT shown;
  GetWindowRect(help, &shown);
  EXPECT_EQ(20, shown.left) << "not centred again";
  EXPECT_EQ(30, shown.top) << "not centred again";

  PostMessageW(help, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(waitUntil([&] { return !IsWindow(help); })) << "unloaded";
  EXPECT_TRUE(helpWindows().empty());
  EXPECT_TRUE(app_->running());
  HWND loaded = openHelp();
  ASSERT_TRUE(loaded);
  EXPECT_EQ(std::vector<HWND>{loaded}, helpWindows());
  EXPECT_EQ(0, SendMessageW(control(loaded, IDC_TEXT2HELP), EM_GETFIRSTVISIBLELINE, 0, 0));
  expectFixedSizeCentred(loaded, 7770, 5625); // centred again after loading

  // Hidden, it still goes with the main window, and the run ends normally.
  press(control(loaded, IDC_BACK));
  ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(loaded); }));
  PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
  DWORD code = 1;
  ASSERT_TRUE(app_->waitForExit(&code));
  EXPECT_EQ(0u, code);
  EXPECT_FALSE(IsWindow(loaded));
}

} // namespace
} // namespace e2e
