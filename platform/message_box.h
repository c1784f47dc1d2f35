// Modal message boxes with UTF-8 texts.
#pragma once

#include <windows.h>

#include <string>

namespace bootdeck {

// Shows a modal message box; `flags` are the MB_* values. Returns the answer (IDOK, IDCANCEL ...).
int messageBox(HWND owner, const std::string &text, const std::string &title, UINT flags);

} // namespace bootdeck
