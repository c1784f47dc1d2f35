// Chinese on a console that was not set up for it.
#pragma once

#include <windows.h>

namespace installer {

// WriteConsoleW puts the right characters into any console, but a console of a Western code
// page usually draws with a font that has no Chinese glyphs and shows boxes. There, switch the
// console to NSimSun, which every Windows since Vista carries. XP has no call for it.
void preferChineseConsoleFont(HANDLE console);

} // namespace installer
