#include "app/control_ids.h"
#include "app/main_window_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

namespace {

using bootdeck::mainWindowLayout;

const ControlSpec *find(int id) {
  for (const ControlSpec &spec : mainWindowLayout())
    if (spec.id == id)
      return &spec;
  return nullptr;
}

TEST(MainWindowLayout, TabIndexesAreDistinctAndWithoutGaps) {
  std::set<int> tabs, ids;
  for (const ControlSpec &spec : mainWindowLayout()) {
    tabs.insert(spec.tabIndex);
    ids.insert(spec.id);
  }
  const size_t count = mainWindowLayout().size();
  EXPECT_EQ(23u, count);
  EXPECT_EQ(count, ids.size());
  ASSERT_EQ(count, tabs.size());
  EXPECT_EQ(0, *tabs.begin());
  EXPECT_EQ(static_cast<int>(count) - 1, *tabs.rbegin());
}

TEST(MainWindowLayout, ControlsLieWithinTheirContainers) {
  for (const ControlSpec &spec : mainWindowLayout()) {
    int width = bootdeck::kMainClientWidth, height = bootdeck::kMainClientHeight;
    if (spec.container != 0) {
      const ControlSpec *frame = find(spec.container);
      ASSERT_NE(nullptr, frame) << spec.id;
      EXPECT_EQ(ControlKind::Frame, frame->kind) << spec.id;
      width = frame->width;
      height = frame->height;
    }
    EXPECT_GE(spec.left, 0) << spec.id;
    EXPECT_GE(spec.top, 0) << spec.id;
    EXPECT_LE(spec.left + spec.width, width) << spec.id;
    EXPECT_LE(spec.top + spec.height, height) << spec.id;
  }
}

TEST(MainWindowLayout, ExactlySixControlsCarryToolTips) {
  const std::set<int> expected = {IDC_COMBO_CHOOSEHD, IDC_FRASH,         IDC_JUSTTEST,
                                  IDC_BKFILETT,       IDC_OPTIONINSTALL, IDC_OPTIONUNINSTALL};
  std::set<int> withTip;
  for (const ControlSpec &spec : mainWindowLayout())
    if (spec.toolTip)
      withTip.insert(spec.id);
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
  for (const ControlSpec &spec : mainWindowLayout())
    if (spec.kind != ControlKind::OptionButton && spec.kind != ControlKind::CheckBox) {
      EXPECT_FALSE(spec.checked) << spec.id;
    }
}

} // namespace
