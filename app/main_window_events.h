// Where the subsystems plug their handlers into the main window.
#pragma once

#include <vector>

namespace bootdeck {

class MainWindow;
using MainWindowHandler = void (*)(MainWindow &);

struct EventBinding {
  int controlId;
  int notification; // BN_CLICKED, CBN_SELCHANGE ...
  MainWindowHandler handler;
};

// Control events and their handlers.
const std::vector<EventBinding> &mainWindowEvents();

// Closing the main window: the help window is unloaded first, then the advanced-options dialog.
const std::vector<MainWindowHandler> &closingSteps();

// The last step of start-up: the disk list's refresh sequence.
MainWindowHandler startupRefresh();

} // namespace bootdeck
