#include "operation/showstate_win32.h"

#include "app/control_ids.h"
#include "app/main_window.h"
#include "app/main_window_layout.h"
#include "operation/compose.h"
#include "operation/pro_dialog_win32.h"
#include "platform/failure.h"
#include "platform/message_box.h"
#include "platform/window_text.h"

#include <windows.h>

#include <string>

namespace bootdeck {

namespace {

// The dialog is read, and so perhaps created, only for an install.
OptionSet readOptionSet(MainWindow &window) {
  OptionSet options;
  options.action =
      isChecked(window.control(IDC_OPTIONINSTALL)) ? Action::Install : Action::Uninstall;
  options.variant = isChecked(window.control(IDC_MTLDR)) ? Variant::Mtldr : Variant::Grldr;
  options.itemText = windowText(window.control(IDC_COMBO_CHOOSEHD));
  options.fileText = windowText(window.control(IDC_BKFILETT));
  options.testMode = isChecked(window.control(IDC_JUSTTEST));
  if (options.action == Action::Install)
    options.advanced = readAdvancedOptions();
  return options;
}

void compose(MainWindow &window) {
  const OptionSet options = readOptionSet(window);
  FileSystem &files = window.fileSystem();
  const Composition composition =
      bootdeck::compose(options, window.appFolder(),
                        [&files](const std::string &path) { return files.fileExists(path); });
  if (composition.refused()) {
    messageBox(window.hwnd(), composition.refusal, kMainWindowTitle, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  window.setComposedCommand(composition.commandLine);
  setWindowText(window.control(IDC_RESULTTEXT), composition.resultText());
}

void reportError(MainWindow &window, unsigned long number, const std::string &description) {
  messageBox(window.hwnd(),
             "Error " + std::to_string(number) + " (" + description +
                 ") in procedure showstate of Form grubinstall",
             kMainWindowTitle, MB_OK);
}

} // namespace

void showstate(MainWindow &window) {
  window.setComposedCommand({});
  try {
    compose(window);
  } catch (const Failure &failure) {
    reportError(window, failure.number(), failure.what());
  } catch (const std::exception &error) {
    reportError(window, 0, error.what());
  }
}

} // namespace bootdeck
