// Colours of one control, answered from its parent's WM_CTLCOLOR* message.
#pragma once

#include <windows.h>

namespace bootdeck {

// Sets the control's text colour `text` on the system colour `background` (a COLOR_* index) in
// the device context `dc` (the message's wParam); returns what the message must return.
LRESULT controlColours(WPARAM dc, COLORREF text, int background);

} // namespace bootdeck
