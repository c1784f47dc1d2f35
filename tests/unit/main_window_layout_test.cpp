#include "app/control_ids.h"
#include "app/main_window_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

namespace {

using bootdeck::mainWindowLayout;

const ControlSpec *find(int id) {
  for (const ControlSpec &row : mainWindowLayout())
    if (row.id == id)
      return &row;
  return nullptr;
}

TEST(MainWindowLayout, TabIndexesRunWithoutGapsAndControlsLieWithinTheirContainers) {
  std::set<int> tabs, ids;
  for (const ControlSpec &row : mainWindowLayout()) {
    SCOPED_TRACE(row.id);
    tabs.insert(row.tabIndex);
    ids.insert(row.id);
    int width = bootdeck::kMainClientWidth, height = bootdeck::kMainClientHeight;
    if (row.container != 0) {
      const ControlSpec *frame = find(row.container);
      ASSERT_NE(nullptr, frame);
      EXPECT_EQ(ControlKind::Frame, frame->kind);
      width = frame->width;
      height = frame->height;
    }
    EXPECT_GE(row.left, 0);
    EXPECT_GE(row.top, 0);
    EXPECT_LE(row.left + row.width, width);
    EXPECT_LE(row.top + row.height, height);
  }
  const size_t count = mainWindowLayout().size();
  EXPECT_EQ(23u, count);
  EXPECT_EQ(count, ids.size());
  ASSERT_EQ(count, tabs.size());
  EXPECT_EQ(0, *tabs.begin());
  EXPECT_EQ(static_cast<int>(count) - 1, *tabs.rbegin());
}

TEST(MainWindowLayout, ExactlySixControlsCarryToolTips) {
  const std::set<int> expected = {IDC_COMBO_CHOOSEHD, IDC_FRASH,         IDC_JUSTTEST,
                                  IDC_BKFILETT,       IDC_OPTIONINSTALL, IDC_OPTIONUNINSTALL};
  std::set<int> withTip;
  for (const ControlSpec &row : mainWindowLayout())
    if (row.toolTip)
      withTip.insert(row.id);
  EXPECT_EQ(expected, withTip);
}

TEST(MainWindowLayout, EachOptionGroupStartsWithExactlyOneSelected) {
  const int groups[][2] = {{IDC_OPTIONINSTALL, IDC_OPTIONUNINSTALL}, {IDC_MTLDR, IDC_GRLDR}};
  for (const auto &group : groups) {
    const ControlSpec *a = find(group[0]);
    const ControlSpec *b = find(group[1]);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(ControlKind::OptionButton, a->kind);
    EXPECT_EQ(a->container, b->container);
    EXPECT_EQ(1, std::abs(a->tabIndex - b->tabIndex)) << "a group is consecutive in tab order";
    EXPECT_TRUE(a->checked);
    EXPECT_FALSE(b->checked);
  }
  for (const ControlSpec &row : mainWindowLayout())
    if (row.kind != ControlKind::OptionButton && row.kind != ControlKind::CheckBox) {
      EXPECT_FALSE(row.checked) << row.id;
    }
}

} // namespace
