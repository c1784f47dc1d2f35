// Start-up of the main window: the blank test, deployment of the installer tool's two builds,
// the platform objects, the start values and, last, the disk list's refresh sequence.
#pragma once

#include <string>

namespace bootdeck {

class MainWindow;

// Runs before the window is first shown; ends the program on a refusal.
void formLoad(MainWindow &window);

// Writes resource `id` of type "CUSTOM" to `path`, replacing any earlier content whole.
void resShiFang(int id, const std::string &path);

} // namespace bootdeck
