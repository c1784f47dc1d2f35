#include "app/main_window_events.h"

#include "app/control_ids.h"
#include "app/shutdown.h"

#include <windows.h>

namespace bootdeck {

const std::vector<EventBinding> &mainWindowEvents() {
  static const std::vector<EventBinding> events = {
      {IDC_EXIT, BN_CLICKED, exitClick},
  };
  return events;
}

const std::vector<MainWindowHandler> &closingSteps() {
  static const std::vector<MainWindowHandler> steps = {};
  return steps;
}

MainWindowHandler startupRefresh() {
  return nullptr;
}

} // namespace bootdeck
