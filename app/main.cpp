// bootdeck: puts boot code into a disk's master boot record, or takes it out again, by driving
// the installer tool that it carries.
#include "app/main_window.h"
#include "app/shutdown.h"
#include "app/startup.h"
#include "platform/dialog_keys.h"
#include "platform/dll_search.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  bootdeck::loadDllsFromSystemFolderOnly();
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  try {
    bootdeck::MainWindow window;
    bootdeck::formLoad(window);
    window.show(showCommand);
    return bootdeck::runMessageLoop();
  } catch (const std::exception &error) {
    bootdeck::endWithReport(error);
  }
}
