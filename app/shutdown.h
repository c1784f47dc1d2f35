// The ways a run ends.
#pragma once

#include <exception>

namespace bootdeck {

class MainWindow;

// The exit button: ends the program at once, running no closing step of any window.
void exitClick(MainWindow &window);

// Ends the process at once with `exitCode`; no window's closing step runs.
[[noreturn]] void endNow(int exitCode);

// A failure nothing else handles: a message box with the error's number (a Failure's, else 0)
// and description above the program's windows, which it disables, then the end of the program
// with a non-zero exit code.
[[noreturn]] void endWithReport(const std::exception &error);

} // namespace bootdeck
