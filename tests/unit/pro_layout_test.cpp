#include "app/control_ids.h"
#include "operation/option_set.h"
#include "operation/pro_layout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using bootdeck::proDialogLayout;

const ControlSpec &find(int id) {
  for (const ControlSpec &spec : proDialogLayout())
    if (spec.id == id)
      return spec;
  throw std::logic_error("no control " + std::to_string(id));
}

TEST(ProDialogLayout, TabIndexesAreDistinctAndWithoutGapsAndTheButtonsComeFirst) {
  std::set<int> tabs, ids;
  for (const ControlSpec &spec : proDialogLayout()) {
    tabs.insert(spec.tabIndex);
    ids.insert(spec.id);
  }
  const size_t count = proDialogLayout().size();
  EXPECT_EQ(11u, count);
  EXPECT_EQ(count, ids.size());
  ASSERT_EQ(count, tabs.size());
  EXPECT_EQ(static_cast<int>(count) - 1, *tabs.rbegin());
  EXPECT_EQ(0, find(IDC_ALLRIGHT).tabIndex);
  EXPECT_EQ(1, find(IDC_CANCEL).tabIndex);
}

TEST(ProDialogLayout, ControlsSitDirectlyOnTheWindowWithinItsClientArea) {
  for (const ControlSpec &spec : proDialogLayout()) {
    SCOPED_TRACE(spec.id);
    EXPECT_EQ(0, spec.container);
    EXPECT_GE(spec.left, 0);
    EXPECT_GE(spec.top, 0);
    EXPECT_LE(spec.left + spec.width, bootdeck::kProClientWidth);
    EXPECT_LE(spec.top + spec.height, bootdeck::kProClientHeight);
  }
}

// The window builder groups option buttons that follow each other in tab order.
TEST(ProDialogLayout, TheTwoOptionButtonsFormOneGroup) {
  const ControlSpec &first = find(IDC_OPTION11), &second = find(IDC_OPTION12);
  EXPECT_EQ(ControlKind::OptionButton, first.kind);
  EXPECT_EQ(ControlKind::OptionButton, second.kind);
  EXPECT_EQ(first.tabIndex + 1, second.tabIndex);
  int selected = 0;
  for (const ControlSpec &spec : proDialogLayout())
    if (spec.kind == ControlKind::OptionButton)
      selected += spec.checked;
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
  for (const ControlSpec &spec : proDialogLayout())
    if (spec.toolTip)
      withTip.insert(spec.id);
  EXPECT_EQ(expected, withTip);
}

} // namespace
