// The main window described as data: title, client size and its controls' table.
#pragma once

#include "platform/control_table.h"

#include <vector>

namespace bootdeck {

constexpr const char *kMainWindowTitle = "bootdeck";
constexpr int kMainClientWidth = 7305; // twips
constexpr int kMainClientHeight = 5310;

const std::vector<ControlSpec> &mainWindowLayout();

} // namespace bootdeck
