// The help window as a person meets it: opened by the main window's help button, one instance at
// most, hidden by its back button as it was left, unloaded by its close box and with the main
// window.
#include "tests/e2e/driver/app.h"
#include "tests/e2e/driver/screen.h"
#include "tests/e2e/driver/temp_folder.h"
#include "tests/e2e/e2e_support.h"

#include "app/control_ids.h"
#include "help/help_text.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace e2e {
namespace {

RECT windowRect(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return rect;
}

std::pair<DWORD, DWORD> selection(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

class HelpWindowTest : public MainWindowFixture {
protected:
  HelpWindowTest() : MainWindowFixture("help") {}

  // Every help window of the program, shown or hidden.
  std::vector<HWND> helpWindows() const {
    return windowsOfClass(app_->processId(), BOOTDECK_HELP_CLASS);
  }

  // Waits until the program has handled every message posted to its window thread so far: a
  // selection change posted behind them becomes visible only then.
  void settle() {
    HWND box = get(IDC_RESULTTEXT);
    const WPARAM mark = static_cast<WPARAM>(++settles_ % 3);
    PostMessageW(box, EM_SETSEL, mark, mark + 1);
    ASSERT_TRUE(waitUntil([&] {
      return selection(box) == std::make_pair(static_cast<DWORD>(mark), DWORD(mark + 1));
    }));
  }

  // Presses the help button and returns the help window shown then.
  HWND openHelp() {
    press(get(IDC_HELP));
    settle();
    return app_->waitForWindow(BOOTDECK_HELP_CLASS);
  }

  // The main window's close box: the run ends normally.
  void closeMainWindow() {
    PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = 1;
    ASSERT_TRUE(app_->waitForExit(&code));
    EXPECT_EQ(0u, code);
  }

  int settles_ = 0;
};

TEST_F(HelpWindowTest, FivePressesLeaveExactlyOneHelpWindow) {
  HWND first = nullptr;
  for (int count = 1; count <= 5; ++count) {
    press(get(IDC_HELP));
    settle();
    const std::vector<HWND> windows = helpWindows();
    ASSERT_EQ(1u, windows.size()) << "after press " << count;
    if (!first)
      first = windows.front();
    EXPECT_EQ(first, windows.front()) << "the same instance after press " << count;
    EXPECT_TRUE(IsWindowVisible(windows.front())) << "after press " << count;
  }
}

TEST_F(HelpWindowTest, WindowHasItsTitleSizeControlsAndTexts) {
  HWND help = openHelp();
  ASSERT_TRUE(help);
  EXPECT_EQ("帮助信息", text(help));
  EXPECT_EQ(nullptr, GetWindow(help, GW_OWNER)) << "no owner window";
  expectFixedSizeCentred(help, 7770, 5625);

  struct Expected {
    int id;
    const char *className;
    std::string text;
    int left, top, width, height;
  };
  const Expected controls[] = {
      {IDC_TEXT2HELP, "Edit", bootdeck::helpText(), 15, 15, 7755, 4905},
      {IDC_BACK, "Button", "返回", 6630, 5070, 1065, 390},
      {IDC_LABEL_TRUE, "Static", std::string(bootdeck::creditText()), 15, 5385, 2085, 255},
  };
  for (const Expected &expected : controls) {
    SCOPED_TRACE("control " + std::to_string(expected.id));
    HWND hwnd = control(help, expected.id);
    ASSERT_TRUE(hwnd);
    EXPECT_EQ(expected.className, className(hwnd));
    EXPECT_EQ(expected.text, text(hwnd));
    expectPlacedAt(hwnd, expected.left, expected.top, expected.width, expected.height);
  }

  HWND box = control(help, IDC_TEXT2HELP);
  const LONG boxStyle = GetWindowLongW(box, GWL_STYLE);
  EXPECT_TRUE(boxStyle & ES_MULTILINE);
  EXPECT_TRUE(boxStyle & ES_READONLY);
  EXPECT_TRUE(boxStyle & WS_VSCROLL);
  EXPECT_FALSE(boxStyle & (WS_HSCROLL | ES_AUTOHSCROLL)) << "long lines wrap";
  EXPECT_GT(SendMessageW(box, EM_GETLINECOUNT, 0, 0), 71) << "long lines wrap";
  EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongW(control(help, IDC_BACK), GWL_STYLE) & BS_TYPEMASK)
      << "neither default nor cancel button";
}

TEST_F(HelpWindowTest, CreditIsHighlightColouredOnTheWindowsBackground) {
  HWND help = openHelp();
  ASSERT_TRUE(help);
  const ClientPixels label(control(help, IDC_LABEL_TRUE));
  const int highlight = label.count(GetSysColor(COLOR_3DHILIGHT));
  const int other =
      label.width() * label.height() - highlight - label.count(GetSysColor(COLOR_3DFACE));
  EXPECT_GT(highlight, 20) << "text pixels in the 3-D highlight colour";
  // Anti-aliased glyph edges blend the two colours; anything else is a wrong colour.
  EXPECT_LT(other, highlight * 3);
}

TEST_F(HelpWindowTest, BackHidesAndHelpShowsTheSameWindowAsItWasLeft) {
  HWND help = openHelp();
  ASSERT_TRUE(help);
  HWND box = control(help, IDC_TEXT2HELP);
  // Select first: a new selection scrolls its caret into view.
  SendMessageW(box, EM_SETSEL, 120, 180);
  SendMessageW(box, EM_LINESCROLL, 0, 25);
  SetWindowPos(help, nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const LRESULT firstLine = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
  ASSERT_GE(firstLine, 20);
  const RECT placed = windowRect(help);

  press(control(help, IDC_BACK));
  ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(help); }));
  EXPECT_TRUE(IsWindow(help)) << "hidden, not unloaded";
  EXPECT_TRUE(waitUntil([&] { return IsChild(main_, app_->focus()); }))
      << "the main window takes over";

  EXPECT_EQ(help, openHelp());
  EXPECT_EQ(std::vector<HWND>{help}, helpWindows());
  EXPECT_EQ(firstLine, SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0));
  EXPECT_EQ(std::make_pair(DWORD(120), DWORD(180)), selection(box));
  EXPECT_EQ(bootdeck::helpText(), text(box));
  const RECT shown = windowRect(help);
  EXPECT_EQ(placed.left, shown.left) << "not centred again";
  EXPECT_EQ(placed.top, shown.top) << "not centred again";
}

TEST_F(HelpWindowTest, CloseBoxUnloadsAndHelpLoadsANewWindow) {
  struct Close {
    const char *name;
    UINT message;
    WPARAM wParam;
  };
  const Close closes[] = {{"close box", WM_SYSCOMMAND, SC_CLOSE}, {"WM_CLOSE", WM_CLOSE, 0}};
  for (const Close &close : closes) {
    SCOPED_TRACE(close.name);
    HWND help = openHelp();
    ASSERT_TRUE(help);
    HWND box = control(help, IDC_TEXT2HELP);
    SendMessageW(box, EM_LINESCROLL, 0, 25);
    SetWindowPos(help, nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    PostMessageW(help, close.message, close.wParam, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(help); })) << "unloaded";
    EXPECT_TRUE(helpWindows().empty());
    EXPECT_TRUE(app_->running());

    HWND loaded = openHelp();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(std::vector<HWND>{loaded}, helpWindows());
    HWND newBox = control(loaded, IDC_TEXT2HELP);
    EXPECT_EQ(0, SendMessageW(newBox, EM_GETFIRSTVISIBLELINE, 0, 0)) << "loaded afresh";
    EXPECT_EQ(bootdeck::helpText(), text(newBox));
    const RECT window = windowRect(loaded);
    EXPECT_NEAR(GetSystemMetrics(SM_CXSCREEN) / 2, (window.left + window.right) / 2, 1)
        << "centred when first shown after loading";
    PostMessageW(loaded, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(loaded); }));
  }
}

TEST_F(HelpWindowTest, KeyboardTabMovesWithinEscDoesNothingEnterPressesTheFocusedButton) {
  HWND help = openHelp();
  ASSERT_TRUE(help);
  HWND box = control(help, IDC_TEXT2HELP), back = control(help, IDC_BACK);
  ASSERT_TRUE(waitUntil([&] { return app_->focus() == box; })) << "focus starts in the text";
  const auto tabTo = [&](HWND expected) {
    HWND before = app_->focus();
    pressKey(before, VK_TAB);
    return waitUntil([&] { return app_->focus() == expected; }, Milliseconds(3000));
  };
  const auto stillOpenAfter = [&](HWND focused, WORD key) {
    pressKey(focused, key);
    // A key's effects may post further messages of their own: settle twice.
    settle();
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
}

TEST_F(HelpWindowTest, MainWindowStaysUsableWhileTheHelpWindowIsOpen) {
  HWND help = openHelp();
  ASSERT_TRUE(help);
  const struct {
    int id;
    bool checkedAfter;
  } presses[] = {
      {IDC_JUSTTEST, true}, {IDC_GRLDR, true}, {IDC_OPTIONUNINSTALL, true}, {IDC_JUSTTEST, false}};
  for (const auto &step : presses) {
    press(get(step.id));
    EXPECT_TRUE(waitUntil([&] { return checked(get(step.id)) == step.checkedAfter; }))
        << "control " << step.id;
  }
  EXPECT_TRUE(IsWindowVisible(help));
  EXPECT_FALSE(app_->findWindow(L"#32770"));

  // Working in the main window brought it forward; the help button brings the same help window
  // forward again.
  EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == main_; }));
  EXPECT_EQ(help, openHelp());
  EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == help; }));
}

TEST_F(HelpWindowTest, ClosingTheMainWindowUnloadsTheShownHelpWindowAndEndsTheRun) {
  HWND help = openHelp();
  ASSERT_TRUE(help);
  closeMainWindow();
  EXPECT_FALSE(IsWindow(help));
}

TEST_F(HelpWindowTest, ClosingTheMainWindowUnloadsTheHiddenHelpWindowAndEndsTheRun) {
  HWND help = openHelp();
  ASSERT_TRUE(help);
  press(control(help, IDC_BACK));
  ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(help); }));
  closeMainWindow();
  EXPECT_FALSE(IsWindow(help));
}

TEST_F(HelpWindowTest, ExitButtonEndsTheRunWithTheHelpWindowOpen) {
  ASSERT_TRUE(openHelp());
  press(get(IDC_EXIT));
  DWORD code = 1;
  ASSERT_TRUE(app_->waitForExit(&code));
  EXPECT_EQ(0u, code);
}

} // namespace
} // namespace e2e
