#include "help/help_window_layout.h"

#include "app/control_ids.h"

namespace bootdeck {

const std::vector<ControlSpec> &helpWindowLayout() {
  static const std::vector<ControlSpec> layout = {
      // id, kind, container, caption, left, top, width, height, tab index, tool tip, selected
      {IDC_TEXT2HELP, ControlKind::ReadOnlyMultiLineEdit, 0, "", 15, 15, 7755, 4905, 0, nullptr,
       false},
      {IDC_BACK, ControlKind::PushButton, 0, "返回", 6630, 5070, 1065, 390, 1, nullptr, false},
      {IDC_LABEL_TRUE, ControlKind::Label, 0, "", 15, 5385, 2085, 255, 2, nullptr, false},
  };
  return layout;
}

} // namespace bootdeck
