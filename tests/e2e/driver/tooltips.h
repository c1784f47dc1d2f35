// The tool tips of another process's tool-tip window, read inside that process: the driver
// places a TOOLINFOW and a text buffer in the target's memory and sends the tool-tip messages.
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace e2e {

// The tool-tip window that `owner` (a top-level window) owns; null when there is none.
HWND ownedToolTip(HWND owner);

// Each tool's window and its tip text.
std::map<HWND, std::string> toolTipTexts(HWND toolTip);

} // namespace e2e
