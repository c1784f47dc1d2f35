// Keyboard navigation for top-level windows that are not dialogs but hold dialog controls:
// the message loop hands keys to IsDialogMessageW, which talks back through these messages.
#pragma once

#include "platform/focus_memory.h"

#include <windows.h>

namespace bootdeck {

// WM_NEXTDLGCTL: Tab and Shift+Tab (also sent by a multi-line edit box on Tab).
void moveDialogFocus(HWND window, WPARAM wParam, LPARAM lParam);

// WM_COMMAND IDOK, sent for Enter when no button is the default: Enter presses only the focused
// push button.
void pressFocusedButton(HWND window);

// The three of a window's messages that make it behave as a dialog towards the keyboard: Tab
// (WM_NEXTDLGCTL), Enter where no button is the default (WM_COMMAND IDOK without a control) and
// the focused control kept across deactivation (WM_ACTIVATE).
class DialogKeyboard {
public:
  // True when `message` was one of them and is handled; the window procedure then returns 0.
  bool handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
  FocusMemory focus_;
};

// Runs the thread's message loop until WM_QUIT; returns its exit code.
int runMessageLoop();

} // namespace bootdeck
