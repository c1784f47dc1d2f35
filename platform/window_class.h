// Window classes of the program's top-level windows, all with the program's icon (group 1).
#pragma once

#include <windows.h>

namespace bootdeck {

constexpr int kAppIconId = 1;

// Registers `className` once; later calls for the same name do nothing.
void registerAppWindowClass(const wchar_t *className, WNDPROC windowProc);

} // namespace bootdeck
