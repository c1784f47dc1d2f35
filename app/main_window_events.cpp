#include "app/main_window_events.h"

#include <windows.h>

#include "app/control_ids.h"
#include "app/shutdown.h"
#include "disks/disk_list_win32.h"
#include "help/help_window_win32.h"
#include "operation/execute_win32.h"
#include "operation/pro_dialog_win32.h"

namespace bootdeck {

const std::vector<EventBinding> &mainWindowEvents() {
  static const std::vector<EventBinding> events = {
      {IDC_EXIT, BN_CLICKED, exitClick},
      {IDC_FRASH, BN_CLICKED, frashClick},
      {IDC_COMBO_CHOOSEHD, CBN_SELCHANGE, comboChoosehdClick},
      {IDC_HELP, BN_CLICKED, helpClick},
      {IDC_PROCH, BN_CLICKED, prochClick},
      {IDC_NOWSTATE, BN_CLICKED, nowstateClick},
      {IDC_CHOOSEIT, BN_CLICKED, chooseitClick},
  };
  return events;
}

const std::vector<MainWindowHandler> &closingSteps() {
  static const std::vector<MainWindowHandler> steps = {unloadHelpWindow, unloadProDialog};
  return steps;
}

MainWindowHandler startupRefresh() {
  return refreshAtStartup;
}

} // namespace bootdeck
