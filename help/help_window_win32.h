// The help window: one modeless instance without owner, made on the first press of the main
// window's help button and again after its close box unloaded it.
#pragma once

namespace bootdeck {

class MainWindow;

// The main window's help button: loads the help window if needed, shows it or brings it forward.
void helpClick(MainWindow &window);

// Closing the main window: unloads the help window if it is loaded.
void unloadHelpWindow(MainWindow &window);

} // namespace bootdeck
