// A multi-line edit box in a window that handles dialog keys closes that window on Esc (it posts
// WM_CLOSE to its parent, as it would in a dialog). Windows where Esc does nothing switch that off.
#pragma once

#include <windows.h>

namespace bootdeck {

// From now on Esc in `edit` does nothing.
void ignoreEscape(HWND edit);

} // namespace bootdeck
