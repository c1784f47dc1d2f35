// The advanced-options dialog described as data: caption, client size and its controls' table.
#pragma once

#include "platform/control_table.h"

#include <vector>

namespace bootdeck {

constexpr const char *kProDialogTitle = "高级选项";
constexpr int kProClientWidth = 4680; // twips
constexpr int kProClientHeight = 4320;

// The note under the option pair: yellow text (a COLORREF, 0x00BBGGRR) on the window-frame colour.
constexpr unsigned long kProNoteTextColour = 0x0000FFFF;

// The time-out box takes at most this many characters.
constexpr int kTimeOutTextLimit = 2;

const std::vector<ControlSpec> &proDialogLayout();

} // namespace bootdeck
