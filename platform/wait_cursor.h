// The hourglass for the length of a scope, while the window thread is busy and handles no
// messages, then the cursor that was there before.
#pragma once

#include <windows.h>

namespace bootdeck {

class WaitCursor {
public:
  WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  WaitCursor(const WaitCursor &) = delete;
  WaitCursor &operator=(const WaitCursor &) = delete;
  ~WaitCursor() { SetCursor(previous_); }

private:
  HCURSOR previous_;
};

} // namespace bootdeck
