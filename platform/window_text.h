// Texts and states of windows and controls, in UTF-8.
#pragma once

#include <windows.h>

#include <string>

namespace bootdeck {

std::string windowText(HWND window);
void setWindowText(HWND window, const std::string &text);
bool isChecked(HWND button);
void setChecked(HWND button, bool checked);

} // namespace bootdeck
