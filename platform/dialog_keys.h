// Keyboard navigation for top-level windows that are not dialogs but hold dialog controls:
// the message loop hands keys to IsDialogMessageW, which talks back through these messages.
#pragma once

#include <windows.h>

namespace bootdeck {

// WM_NEXTDLGCTL: Tab and Shift+Tab (also sent by a multi-line edit box on Tab).
void moveDialogFocus(HWND window, WPARAM wParam, LPARAM lParam);

// WM_COMMAND IDOK, sent for Enter when no button is the default: Enter presses only the focused
// push button.
void pressFocusedButton(HWND window);

// Runs the thread's message loop until WM_QUIT; returns its exit code.
int runMessageLoop();

} // namespace bootdeck
