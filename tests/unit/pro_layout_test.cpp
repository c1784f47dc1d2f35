#include "app/control_ids.h"
#include "operation/option_set.h"
#include "operation/pro_layout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using bootdeck::proDialogLayout;

const ControlSpec &find(int id) {
  for (const ControlSpec &row : proDialogLayout())
    if (row.id == id)
      return row;
  throw std::logic_error("no control " + std::to_string(id));
}

TEST(ProDialogLayout, TabIndexesRunWithoutGapsButtonsFirstAndControlsLieWithinTheWindow) {
  std::set<int> tabs, ids;
  for (const ControlSpec &row : proDialogLayout()) {
    SCOPED_TRACE(row.id);
    tabs.insert(row.tabIndex);
    ids.insert(row.id);
    EXPECT_EQ(0, row.container);
    EXPECT_GE(row.left, 0);
    EXPECT_GE(row.top, 0);
    EXPECT_LE(row.left + row.width, bootdeck::kProClientWidth);
    EXPECT_LE(row.top + row.height, bootdeck::kProClientHeight);
  }
  const size_t count = proDialogLayout().size();
  EXPECT_EQ(11u, count);
  EXPECT_EQ(count, ids.size());
  ASSERT_EQ(count, tabs.size());
  EXPECT_EQ(static_cast<int>(count) - 1, *tabs.rbegin());
  EXPECT_EQ(0, find(IDC_ALLRIGHT).tabIndex);
  EXPECT_EQ(1, find(IDC_CANCEL).tabIndex);
}

// The window builder groups option buttons that follow each other in tab order.
TEST(ProDialogLayout, TheTwoOptionButtonsFormOneGroup) {
  const ControlSpec &first = find(IDC_OPTION11), &second = find(IDC_OPTION12);
  EXPECT_EQ(ControlKind::OptionButton, first.kind);
  EXPECT_EQ(ControlKind::OptionButton, second.kind);
  EXPECT_EQ(first.tabIndex + 1, second.tabIndex);
  int selected = 0;
  for (const ControlSpec &row : proDialogLayout())
    if (row.kind == ControlKind::OptionButton)
      selected += row.checked;
  EXPECT_EQ(1, selected);
}

// A composition reads a new dialog's controls; they must hold what the option set assumes.
TEST(ProDialogLayout, StartValuesAreTheOptionSetsDefaults) {
  const bootdeck::AdvancedOptions defaults;
  EXPECT_EQ(defaults.backupToSecondSector, find(IDC_CHECK1).checked);
  EXPECT_EQ(defaults.floppySearch, find(IDC_FLOPPYSCH).checked);
  EXPECT_EQ(defaults.fallbackOnInvalidTable, find(IDC_CANNOTBOOTPRE).checked);
  EXPECT_EQ(defaults.installedFirst, find(IDC_OPTION11).checked);
  EXPECT_EQ(defaults.timeOutText, find(IDC_TEXT).text);
  EXPECT_LE(defaults.timeOutText.size(), static_cast<size_t>(bootdeck::kTimeOutTextLimit));
}

TEST(ProDialogLayout, ExactlyTheSixChoicesCarryToolTips) {
  const std::set<int> expected = {IDC_FLOPPYSCH, IDC_CANNOTBOOTPRE, IDC_CHECK1,
                                  IDC_OPTION11,  IDC_OPTION12,      IDC_TEXT};
  std::set<int> withTip;
  for (const ControlSpec &row : proDialogLayout())
    if (row.toolTip)
      withTip.insert(row.id);
  EXPECT_EQ(expected, withTip);
}

} // namespace
