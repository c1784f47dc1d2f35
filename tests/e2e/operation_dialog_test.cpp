// The advanced-options dialog as a person meets it: its look, its life (cancel, close box, Esc,
// OK with good and bad time-outs), one instance, and what the composition reads from it.
#include "tests/e2e/driver/app.h"
#include "tests/e2e/driver/screen.h"
#include "tests/e2e/driver/temp_folder.h"
#include "tests/e2e/driver/tooltips.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/operation_fixture.h"

#include "app/control_ids.h"
#include "operation/pro_layout.h"
#include "platform/utf.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace e2e {
namespace {

using bootdeck::proDialogLayout;

const char kRefusedTimeOut[] = "请正确的填写选项并细心核对.";

class ProDialogTest : public MainWindowFixture {
protected:
  ProDialogTest() : MainWindowFixture("pro") {}

  std::vector<HWND> dialogs() const {
    return windowsOfClass(app_->processId(), BOOTDECK_PRO_CLASS);
  }
  HWND dialog() const {
    const std::vector<HWND> all = dialogs();
    return all.empty() ? nullptr : all.front();
  }
  HWND open() const {
    press(control(main_, IDC_PROCH));
    HWND shown = nullptr;
    waitUntil([&] { return (shown = dialog()) && IsWindowVisible(shown); });
    return shown;
  }
  bool gone() const {
    return waitUntil([&] { return dialogs().empty(); });
  }
  std::vector<std::string> composeNow() const { return e2e::composeNow(main_); }
  std::vector<std::string> defaultInstallSummary() const {
    return e2e::defaultInstallSummary(main_, folder_->path());
  }
  // Changes every value the composition reads, without confirming.
  void changeEverything(HWND pro, const std::string &timeOut) const {
    setChecked(control(pro, IDC_FLOPPYSCH), false);
    setChecked(control(pro, IDC_CANNOTBOOTPRE), false);
    setChecked(control(pro, IDC_CHECK1), false);
    setChecked(control(pro, IDC_OPTION12), true);
    setText(control(pro, IDC_TEXT), timeOut);
  }
  void expectDefaults(HWND pro) const {
    for (const ControlSpec &s : proDialogLayout()) {
      if (s.kind == ControlKind::CheckBox || s.kind == ControlKind::OptionButton) {
        EXPECT_EQ(s.checked, checked(control(pro, s.id))) << "control " << s.id;
      }
    }
    EXPECT_EQ("5", text(control(pro, IDC_TEXT)));
  }
};

TEST_F(ProDialogTest, WindowControlsAndToolTipsAsDesigned) {
  HWND pro = open();
  ASSERT_TRUE(pro);
  EXPECT_EQ("高级选项", text(pro));
  EXPECT_EQ(nullptr, GetWindow(pro, GW_OWNER));
  EXPECT_TRUE(IsWindowEnabled(main_)) << "modeless";
  expectFixedSizeCentred(pro, 4680, 4320);

  std::map<HWND, std::string> tips;
  for (const ControlSpec &s : proDialogLayout()) {
    SCOPED_TRACE("control " + std::to_string(s.id));
    HWND hwnd = control(pro, s.id);
    ASSERT_TRUE(hwnd);
    EXPECT_EQ(s.text, text(hwnd));
    expectPlacedAt(hwnd, s.left, s.top, s.width, s.height);
    if (s.kind == ControlKind::PushButton) {
      EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK) << "not default";
    }
    if (s.toolTip)
      tips[hwnd] = s.toolTip;
  }
  expectDefaults(pro);
  EXPECT_EQ(2, SendMessageW(control(pro, IDC_TEXT), EM_GETLIMITTEXT, 0, 0));
  EXPECT_EQ(control(pro, IDC_ALLRIGHT), app_->focus()) << "first in tab order";

  HWND toolTip = ownedToolTip(pro);
  ASSERT_TRUE(toolTip);
  EXPECT_EQ(tips, toolTipTexts(toolTip));
}

TEST_F(ProDialogTest, NoteIsYellowOnTheWindowFrameColour) {
  HWND pro = open();
  ASSERT_TRUE(pro);
  const ClientPixels note(control(pro, IDC_LABEL1));
  EXPECT_EQ(GetSysColor(COLOR_WINDOWFRAME), note.at(note.width() - 2, note.height() - 2));
  EXPECT_GT(note.count(RGB(255, 255, 0)), 20) << "pixels of the note's text colour";
}

TEST_F(ProDialogTest, TimeOutBoxTakesNoThirdCharacter) {
  HWND pro = open();
  ASSERT_TRUE(pro);
  HWND box = control(pro, IDC_TEXT);
  setText(box, "");
  for (wchar_t c : std::wstring(L"123"))
    SendMessageW(box, WM_CHAR, c, 1);
  EXPECT_EQ("12", text(box));
}

TEST_F(ProDialogTest, TabWalksTheTabOrderToTheSelectedOptionButton) {
  HWND pro = open();
  ASSERT_TRUE(pro);
  ASSERT_EQ(control(pro, IDC_ALLRIGHT), app_->focus());
  const int order[] = {IDC_CANCEL, IDC_FLOPPYSCH, IDC_CANNOTBOOTPRE, IDC_TEXT,
                       IDC_CHECK1, IDC_OPTION11,  IDC_ALLRIGHT};
  for (int id : order)
    EXPECT_EQ(control(pro, id), tab()) << "expected control " << id;
}

TEST_F(ProDialogTest, EnterPressesOnlyTheFocusedButton) {
  HWND pro = open();
  ASSERT_TRUE(pro);
  while (app_->focus() != control(pro, IDC_TEXT))
    ASSERT_NE(control(pro, IDC_ALLRIGHT), tab()) << "time-out box never focused";
  pressKey(control(pro, IDC_TEXT), VK_RETURN);
  SendMessageW(pro, WM_NULL, 0, 0);
  EXPECT_TRUE(IsWindowVisible(pro)) << "Enter in the box pressed a button";
  EXPECT_EQ(nullptr, app_->findWindow(L"#32770"));

  while (app_->focus() != control(pro, IDC_CANCEL))
    ASSERT_NE(control(pro, IDC_TEXT), tab()) << "cancel never focused";
  pressKey(control(pro, IDC_CANCEL), VK_RETURN);
  EXPECT_TRUE(gone());
}

TEST_F(ProDialogTest, ProchAgainWhileShownLeavesOneDialog) {
  HWND first = open();
  ASSERT_TRUE(first);
  press(control(main_, IDC_PROCH));
  press(control(main_, IDC_PROCH));
  SendMessageW(first, WM_NULL, 0, 0);
  composeNow(); // handled after both presses
  EXPECT_EQ(std::vector<HWND>{first}, dialogs());
}

TEST_F(ProDialogTest, CancelCloseBoxAndEscDestroyTheDialogAndItsValues) {
  enum How { CancelButton, CloseBox, Escape };
  for (How how : {CancelButton, CloseBox, Escape}) {
    SCOPED_TRACE("way " + std::to_string(how));
    HWND pro = open();
    ASSERT_TRUE(pro);
    changeEverything(pro, "9");
    if (how == CancelButton) {
      press(control(pro, IDC_CANCEL));
    } else if (how == CloseBox) {
      PostMessageW(pro, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
      pressKey(control(pro, IDC_TEXT), VK_ESCAPE);
    }
    ASSERT_TRUE(gone());
    EXPECT_TRUE(IsWindow(main_));
    // The next reader creates a new instance with the defaults ...
    EXPECT_EQ(defaultInstallSummary(), composeNow());
    // ... and the next opening shows it.
    HWND again = open();
    ASSERT_TRUE(again);
    expectDefaults(again);
    press(control(again, IDC_CANCEL));
    ASSERT_TRUE(gone());
  }
}

TEST_F(ProDialogTest, OkWithAWholeNumberHidesTheDialogAndKeepsEveryValue) {
  const struct {
    const char *typed;
    const char *kept;
  } cases[] = {{"07", "7"}, {" 7", "7"}, {"-3", "-3"}, {"+4", "4"}, {"12", "12"}, {"2.", "2"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(std::string("typed \"") + c.typed + "\"");
    HWND pro = open();
    ASSERT_TRUE(pro);
    changeEverything(pro, c.typed);
    press(control(pro, IDC_ALLRIGHT));
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(pro); }));
    EXPECT_EQ(std::vector<HWND>{pro}, dialogs()) << "hidden, not destroyed";
    EXPECT_EQ(c.kept, text(control(pro, IDC_TEXT)));

    EXPECT_EQ(pro, open()) << "the hidden instance is shown again";
    EXPECT_FALSE(checked(control(pro, IDC_FLOPPYSCH)));
    EXPECT_FALSE(checked(control(pro, IDC_CANNOTBOOTPRE)));
    EXPECT_FALSE(checked(control(pro, IDC_CHECK1)));
    EXPECT_TRUE(checked(control(pro, IDC_OPTION12)));
    EXPECT_FALSE(checked(control(pro, IDC_OPTION11)));
    EXPECT_EQ(c.kept, text(control(pro, IDC_TEXT)));
  }
}

TEST_F(ProDialogTest, OkWithoutANumberShowsTheMessageThenFiveAndStaysOpen) {
  for (const char *typed : {"", "ab", "1a", "--", "."}) {
    SCOPED_TRACE(std::string("typed \"") + typed + "\"");
    HWND pro = open();
    ASSERT_TRUE(pro);
    changeEverything(pro, typed);
    press(control(pro, IDC_ALLRIGHT));
    const MessageBoxView box = app_->waitForMessageBox();
    ASSERT_TRUE(box.hwnd());
    EXPECT_EQ("bootdeck", box.title());
    EXPECT_EQ(kRefusedTimeOut, box.text());
    EXPECT_EQ(std::vector<int>{IDOK}, box.buttons());
    EXPECT_FALSE(showsIcon(box));
    box.answer(IDOK);
    HWND timeOut = control(pro, IDC_TEXT);
    EXPECT_TRUE(waitUntil([&] { return text(timeOut) == "5"; })) << text(timeOut);
    EXPECT_TRUE(IsWindowVisible(pro));
    EXPECT_FALSE(checked(control(pro, IDC_FLOPPYSCH)));
    EXPECT_FALSE(checked(control(pro, IDC_CHECK1)));
    EXPECT_TRUE(checked(control(pro, IDC_OPTION12)));
    press(control(pro, IDC_CANCEL));
    ASSERT_TRUE(gone());
  }
}

TEST_F(ProDialogTest, CompositionReadsTheValuesNotYetConfirmed) {
  HWND pro = open();
  ASSERT_TRUE(pro);
  changeEverything(pro, "12");
  std::vector<std::string> expected = defaultInstallSummary();
  expected.resize(3);
  expected.insert(expected.end(),
                  {"●不备份原来的MBR到第二扇区.", "●启动时不在软驱上搜索mtldr 或grldr",
                   "●启动时,分区表非法时不启动原来的MBR", "●优先引导原来的MBR",
                   "●在启动原来的MBR之前等待12秒.", ""});
  EXPECT_EQ(expected, composeNow());
  EXPECT_TRUE(IsWindowVisible(pro)) << "a composition never hides the dialog";
  EXPECT_EQ("12", text(control(pro, IDC_TEXT)));
}

TEST_F(ProDialogTest, OnlyAnInstallCompositionCreatesTheDialogAndKeepsItHidden) {
  setChecked(control(main_, IDC_OPTIONUNINSTALL), true);
  const std::vector<std::string> uninstall = composeNow();
  ASSERT_FALSE(uninstall.empty());
  EXPECT_EQ("●卸载 ●MTLDR ", uninstall.front());
  EXPECT_TRUE(dialogs().empty()) << "an uninstall never reads the dialog";

  setChecked(control(main_, IDC_OPTIONINSTALL), true);
  EXPECT_EQ(defaultInstallSummary(), composeNow());
  const std::vector<HWND> created = dialogs();
  ASSERT_EQ(1u, created.size());
  EXPECT_FALSE(IsWindowVisible(created.front()));
  composeNow();
  EXPECT_EQ(created, dialogs());
  EXPECT_EQ(created.front(), open()) << "proch shows the instance the composition made";
  expectDefaults(created.front());
}

TEST_F(ProDialogTest, ClosingTheMainWindowClosesTheDialogAndEndsTheRun) {
  ASSERT_TRUE(open());
  PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
  DWORD code = 1;
  ASSERT_TRUE(app_->waitForExit(&code));
  EXPECT_EQ(0u, code);
}

} // namespace
} // namespace e2e
