// The main window as a person meets it: layout, captions, initial state, keyboard, tool tips and
// the two ways to end a run.
#include "tests/e2e/driver/app.h"
#include "tests/e2e/driver/screen.h"
#include "tests/e2e/driver/temp_folder.h"
#include "tests/e2e/driver/tooltips.h"
#include "tests/e2e/e2e_support.h"

#include "app/control_ids.h"
#include "app/main_window_layout.h"
#include "disks/backup_name.h"
#include "disks/disk_item.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace e2e {
namespace {

using bootdeck::mainWindowLayout;

const ControlSpec &row(int id) {
  for (const ControlSpec &r : mainWindowLayout())
    if (r.id == id)
      return r;
  throw std::logic_error("no such control");
}

class MainWindowTest : public MainWindowFixture {
protected:
  MainWindowTest() : MainWindowFixture("main") {}
  void expectEndedKeepingTheToolFiles() const {
    DWORD code = 1;
    ASSERT_TRUE(app_->waitForExit(&code));
    EXPECT_EQ(0u, code);
    EXPECT_FALSE(readFileBytes(folder_->path() + "\\grldrinst.exe").empty());
    EXPECT_FALSE(readFileBytes(folder_->path() + "\\mtldrinst.exe").empty());
  }
};

TEST_F(MainWindowTest, LookStartValuesKeyboardAndExit) {
  EXPECT_EQ("bootdeck", text(main_));
  expectFixedSizeCentred(main_, 7305, 5310);
  for (const ControlSpec &s : mainWindowLayout()) {
    SCOPED_TRACE("control " + std::to_string(s.id));
    HWND hwnd = get(s.id);
    ASSERT_TRUE(hwnd);
    // Each kind's window class, and the style bits that make it that kind.
    const struct {
      const char *className;
      LONG mask, bits;
    } kinds[] = {
        {"Button", BS_TYPEMASK, BS_PUSHBUTTON}, // neither default nor cancel button
        {"Button", BS_TYPEMASK, BS_AUTORADIOBUTTON},
        {"Button", BS_TYPEMASK, BS_AUTOCHECKBOX},
        {"Button", BS_TYPEMASK, BS_GROUPBOX},
        {"Static", 0, 0},
        {"Edit", ES_MULTILINE, 0},
        {"Edit", ES_MULTILINE | WS_VSCROLL, ES_MULTILINE | WS_VSCROLL},
        {"Edit", ES_MULTILINE | WS_VSCROLL, ES_MULTILINE | WS_VSCROLL},
        {"ComboBox", 3, CBS_DROPDOWNLIST},
    };
    const auto &kind = kinds[static_cast<int>(s.kind)];
    EXPECT_EQ(kind.className, className(hwnd));
    EXPECT_EQ(kind.bits, GetWindowLongW(hwnd, GWL_STYLE) & kind.mask);
    if (s.id != IDC_LABEL && s.id != IDC_BKFILETT && s.id != IDC_COMBO_CHOOSEHD) {
      EXPECT_EQ(s.text, text(hwnd));
    }
    if (s.kind == ControlKind::OptionButton || s.kind == ControlKind::CheckBox) {
      EXPECT_EQ(s.checked, checked(hwnd));
    }

    int left = s.left, top = s.top;
    if (s.container) {
      left += row(s.container).left;
      top += row(s.container).top;
    }
    // The closed field of a drop-down list cannot be lower than its font needs.
    expectPlacedAt(hwnd, left, top, s.width, s.height, s.kind == ControlKind::DropDownList ? 4 : 0);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsWindowEnabled(hwnd));
  }
  EXPECT_EQ(folder_->path() + "\\", text(get(IDC_LABEL)));
  // Before any disk is chosen the name ends in -0; the start-up's choice of the first disk
  // replaces that with its item number.
  const std::vector<std::string> disks = items(get(IDC_COMBO_CHOOSEHD));
  const int item = disks.empty() ? 0 : bootdeck::itemNumber(disks.front());
  EXPECT_EQ(bootdeck::backupName(bootdeck::shortDateText(), item), text(get(IDC_BKFILETT)));
  EXPECT_EQ(">输出结果-等待您下达指令...", text(get(IDC_RESULTTEXT)));
  HWND toolTip = ownedToolTip(main_);
  ASSERT_TRUE(toolTip);
  std::map<HWND, std::string> tips;
  for (const ControlSpec &s : mainWindowLayout())
    if (s.toolTip)
      tips[get(s.id)] = s.toolTip;
  EXPECT_EQ(tips, toolTipTexts(toolTip));
  const ClientPixels box(get(IDC_RESULTTEXT));
  EXPECT_EQ(GetSysColor(COLOR_WINDOWFRAME), box.at(box.width() - 4, box.height() - 4));
  EXPECT_GT(box.count(GetSysColor(COLOR_WINDOW), 120, 16), 0) << "text pixels on the first line";
  EXPECT_EQ(get(IDC_COMBO_CHOOSEHD), app_->focus());
  const int order[] = {IDC_CHOOSEIT,   IDC_OPTIONINSTALL, IDC_MTLDR,    IDC_BKFILETT,
                       IDC_RESULTTEXT, IDC_PROCH,         IDC_HELP,     IDC_EXIT,
                       IDC_JUSTTEST,   IDC_FRASH,         IDC_NOWSTATE, IDC_COMBO_CHOOSEHD};
  for (int id : order)
    EXPECT_EQ(get(id), tab()) << "expected control " << id;

  // Enter and Esc do nothing in every control that takes the focus but is no push button.
  HWND combo = get(IDC_COMBO_CHOOSEHD);
  ASSERT_EQ(combo, app_->focus());
  for (HWND focus = combo;;) {
    // A focused push button may show as the default one: Enter then presses it, as it should.
    const LONG type = GetWindowLongW(focus, GWL_STYLE) & BS_TYPEMASK;
    if (className(focus) != "Button" || (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON)) {
      pressKey(focus, VK_RETURN);
      pressKey(focus, VK_ESCAPE);
      drainPostedMessages(get(IDC_BKFILETT));
      ASSERT_TRUE(app_->running()) << "ended by a key in control " << GetDlgCtrlID(focus);
      EXPECT_TRUE(IsWindowVisible(main_)) << GetDlgCtrlID(focus);
      EXPECT_FALSE(app_->findWindow(L"#32770")) << GetDlgCtrlID(focus);
    }
    focus = tab();
    if (focus == combo)
      break;
  }

  while (app_->focus() != get(IDC_EXIT))
    ASSERT_NE(combo, tab()) << "exit button never focused";
  pressKey(get(IDC_EXIT), VK_RETURN);
  expectEndedKeepingTheToolFiles();
}

TEST_F(MainWindowTest, TabReachesTheSelectedButtonOfAnOptionGroupAndCloseBoxEnds) {
  press(get(IDC_OPTIONUNINSTALL));
  press(get(IDC_GRLDR)); // a click also focuses the button
  ASSERT_TRUE(waitUntil([&] { return app_->focus() == get(IDC_GRLDR); }));
  EXPECT_TRUE(checked(get(IDC_OPTIONUNINSTALL)));
  EXPECT_FALSE(checked(get(IDC_OPTIONINSTALL)));
  EXPECT_FALSE(checked(get(IDC_MTLDR)));
  const int order[] = {IDC_BKFILETT,       IDC_RESULTTEXT, IDC_PROCH,           IDC_HELP,
                       IDC_EXIT,           IDC_JUSTTEST,   IDC_FRASH,           IDC_NOWSTATE,
                       IDC_COMBO_CHOOSEHD, IDC_CHOOSEIT,   IDC_OPTIONUNINSTALL, IDC_GRLDR};
  for (int id : order)
    EXPECT_EQ(get(id), tab()) << "expected control " << id;
  PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
  expectEndedKeepingTheToolFiles();
}

} // namespace
} // namespace e2e
