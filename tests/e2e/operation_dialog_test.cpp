// The advanced-options dialog as a person meets it: its look, its life (cancel, close box, Esc,
// OK with good and bad time-outs), one instance, and what the composition reads from it.
#include "tests/e2e/driver/app.h"
#include "tests/e2e/driver/screen.h"
#include "tests/e2e/driver/tooltips.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/operation_fixture.h"

#include "app/control_ids.h"
#include "operation/pro_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace e2e {
namespace {

using bootdeck::proDialogLayout;

class ProDialogTest : public MainWindowFixture {
protected:
  ProDialogTest() : MainWindowFixture("pro") {}

  std::vector<HWND> dialogs() const {
    return windowsOfClass(app_->processId(), BOOTDECK_PRO_CLASS);
  }
  HWND open() const {
    press(control(main_, IDC_PROCH));
    HWND shown = nullptr;
    waitUntil([&] {
      const std::vector<HWND> all = dialogs();
      return !all.empty() && IsWindowVisible(shown = all.front());
    });
    return shown;
  }
  bool gone() const {
    return waitUntil([&] { return dialogs().empty(); });
  }
  std::vector<std::string> defaultInstallSummary() const {
    return e2e::defaultInstallSummary(main_, folder_->path());
  }
  // Changes every value the composition reads, without confirming.
  void changeEverything(HWND pro, const std::string &timeOut) const {
    for (int id : {IDC_FLOPPYSCH, IDC_CANNOTBOOTPRE, IDC_CHECK1})
      setChecked(control(pro, id), false);
    setChecked(control(pro, IDC_OPTION12), true);
    setText(control(pro, IDC_TEXT), timeOut);
  }
  // Whether the choices are the changed ones (or the layout's defaults), with time-out `timeOut`.
  void expectValues(HWND pro, bool changed, const std::string &timeOut) const {
    for (const ControlSpec &row : proDialogLayout())
      if (row.kind == ControlKind::CheckBox || row.kind == ControlKind::OptionButton) {
        EXPECT_EQ(changed ? row.id == IDC_OPTION12 : row.checked, checked(control(pro, row.id)))
            << "control " << row.id;
      }
    EXPECT_EQ(timeOut, text(control(pro, IDC_TEXT)));
  }
};

TEST_F(ProDialogTest, LookKeysAndOneInstance) {
  HWND pro = open();
  ASSERT_TRUE(pro);
  HWND box = control(pro, IDC_TEXT);
  EXPECT_EQ("高级选项", text(pro));
  EXPECT_EQ(nullptr, GetWindow(pro, GW_OWNER));
  EXPECT_TRUE(IsWindowEnabled(main_)) << "modeless";
  expectFixedSizeCentred(pro, 4680, 4320);
  std::map<HWND, std::string> tips;
  for (const ControlSpec &row : proDialogLayout()) {
    SCOPED_TRACE("control " + std::to_string(row.id));
    HWND hwnd = control(pro, row.id);
    ASSERT_TRUE(hwnd);
    EXPECT_EQ(row.text, text(hwnd));
    expectPlacedAt(hwnd, row.left, row.top, row.width, row.height);
    if (row.kind == ControlKind::PushButton) {
      EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK) << "not default";
    }
    if (row.toolTip)
      tips[hwnd] = row.toolTip;
  }
  expectValues(pro, false, "5");
  HWND toolTip = ownedToolTip(pro);
  ASSERT_TRUE(toolTip);
  EXPECT_EQ(tips, toolTipTexts(toolTip));
  const ClientPixels note(control(pro, IDC_LABEL1));
  EXPECT_EQ(GetSysColor(COLOR_WINDOWFRAME), note.at(note.width() - 2, note.height() - 2));
  EXPECT_GT(note.count(RGB(255, 255, 0)), 20) << "pixels of the note's yellow text";
  setText(box, "");
  for (wchar_t c : std::wstring(L"123"))
    SendMessageW(box, WM_CHAR, c, 1);
  EXPECT_EQ("12", text(box)) << "no third character";

  ASSERT_EQ(control(pro, IDC_ALLRIGHT), app_->focus()) << "first in tab order";
  for (int id : {IDC_CANCEL, IDC_FLOPPYSCH, IDC_CANNOTBOOTPRE, IDC_TEXT})
    EXPECT_EQ(control(pro, id), tab()) << "expected control " << id;
  pressKey(box, VK_RETURN);
  SendMessageW(pro, WM_NULL, 0, 0);
  EXPECT_TRUE(IsWindowVisible(pro)) << "Enter in the box pressed a button";
  EXPECT_EQ(nullptr, app_->findWindow(L"#32770"));
  for (int id : {IDC_CHECK1, IDC_OPTION11, IDC_ALLRIGHT})
    EXPECT_EQ(control(pro, id), tab()) << "expected control " << id;

  ASSERT_EQ(control(pro, IDC_CANCEL), tab());
  pressKey(control(pro, IDC_CANCEL), VK_RETURN);
  ASSERT_TRUE(gone());
  for (int press = 0; press < 3; ++press)
    e2e::press(control(main_, IDC_PROCH));
  composeNow(main_); // handled after the presses
  EXPECT_EQ(1u, dialogs().size());
}

TEST_F(ProDialogTest, CancelCloseBoxEscAndOkWithGoodAndBadTimeOuts) {
  enum How { CancelButton, CloseBox, Escape };
  for (How how : {CancelButton, CloseBox, Escape}) {
    SCOPED_TRACE("way " + std::to_string(how));
    HWND pro = open();
    ASSERT_TRUE(pro);
    changeEverything(pro, "9");
    if (how == CancelButton)
      press(control(pro, IDC_CANCEL));
    else if (how == CloseBox)
      PostMessageW(pro, WM_SYSCOMMAND, SC_CLOSE, 0);
    else
      pressKey(control(pro, IDC_TEXT), VK_ESCAPE);
    ASSERT_TRUE(gone());
    // The next reader creates a new instance with the defaults, and the next opening shows it.
    EXPECT_EQ(defaultInstallSummary(), composeNow(main_));
    HWND again = open();
    ASSERT_TRUE(again);
    expectValues(again, false, "5");
    press(control(again, IDC_CANCEL));
    ASSERT_TRUE(gone());
  }

  const struct {
    const char *typed;
    const char *kept; // nullptr: refused
  } timeOuts[] = {{"07", "7"}, {" 7", "7"}, {"-3", "-3"}, {"", nullptr}, {"1a", nullptr}};
  for (const auto &c : timeOuts) {
    SCOPED_TRACE(std::string("typed \"") + c.typed + "\"");
    HWND pro = open();
    ASSERT_TRUE(pro);
    changeEverything(pro, c.typed);
    press(control(pro, IDC_ALLRIGHT));
    if (c.kept) {
      ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(pro); }));
      EXPECT_EQ(std::vector<HWND>{pro}, dialogs()) << "hidden, not destroyed";
      EXPECT_EQ(pro, open()) << "the hidden instance is shown again";
      expectValues(pro, true, c.kept);
    } else {
      const MessageBoxView box = app_->waitForMessageBox();
      ASSERT_TRUE(box.hwnd());
      EXPECT_EQ("bootdeck", box.title());
      EXPECT_EQ("请正确的填写选项并细心核对.", box.text());
      EXPECT_EQ(std::vector<int>{IDOK}, box.buttons());
      EXPECT_FALSE(box.hasIcon());
      box.answer(IDOK);
      EXPECT_TRUE(waitUntil([&] { return text(control(pro, IDC_TEXT)) == "5"; }));
      EXPECT_TRUE(IsWindowVisible(pro));
      expectValues(pro, true, "5");
    }
    press(control(pro, IDC_CANCEL));
    ASSERT_TRUE(gone());
  }
}

TEST_F(ProDialogTest, OnlyAnInstallCompositionCreatesItAndReadsTheValuesNotYetConfirmed) {
  setChecked(control(main_, IDC_OPTIONUNINSTALL), true);
  EXPECT_EQ("●卸载 ●MTLDR ", composeNow(main_).front());
  EXPECT_TRUE(dialogs().empty()) << "an uninstall never reads the dialog";

  setChecked(control(main_, IDC_OPTIONINSTALL), true);
  EXPECT_EQ(defaultInstallSummary(), composeNow(main_));
  const std::vector<HWND> created = dialogs();
  ASSERT_EQ(1u, created.size());
  EXPECT_FALSE(IsWindowVisible(created.front()));
  EXPECT_EQ(created.front(), open()) << "proch shows the instance the composition made";

  changeEverything(created.front(), "12");
  std::vector<std::string> expected = defaultInstallSummary();
  expected.resize(3);
  expected.insert(expected.end(),
                  {"●不备份原来的MBR到第二扇区.", "●启动时不在软驱上搜索mtldr 或grldr",
                   "●启动时,分区表非法时不启动原来的MBR", "●优先引导原来的MBR",
                   "●在启动原来的MBR之前等待12秒.", ""});
  EXPECT_EQ(expected, composeNow(main_));
  EXPECT_TRUE(IsWindowVisible(created.front())) << "a composition never hides the dialog";
  EXPECT_EQ(created, dialogs());

  PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
  DWORD code = 1;
  ASSERT_TRUE(app_->waitForExit(&code));
  EXPECT_EQ(0u, code);
}

} // namespace
} // namespace e2e
