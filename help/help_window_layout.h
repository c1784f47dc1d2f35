// The help window described as data: title, client size and its controls' table.
#pragma once

#include "platform/control_table.h"

#include <vector>

namespace bootdeck {

constexpr const char *kHelpWindowTitle = "帮助信息";
constexpr int kHelpClientWidth = 7770; // twips
constexpr int kHelpClientHeight = 5625;

// The help text and the credit are put into their controls when the window is loaded.
const std::vector<ControlSpec> &helpWindowLayout();

} // namespace bootdeck
