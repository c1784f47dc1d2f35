#include "app/startup.h"

#include "app/control_ids.h"
#include "app/main_window.h"
#include "app/main_window_events.h"
#include "app/shutdown.h"
#include "app/startup_refusal.h"
#include "disks/backup_name.h"
#include "platform/admin_rights.h"
#include "platform/command_prompt_policy.h"
#include "platform/embedded_resource.h"
#include "platform/file_write.h"
#include "platform/locale_text.h"
#include "platform/message_box.h"
#include "platform/window_text.h"

namespace bootdeck {

namespace {

// The program runs the tool elevated from a folder that other programs may write: the file is
// held unchanged from the check of its bytes until the program ends.
void deployTool(MainWindow &window, int id, const std::string &path) {
  resShiFang(id, path);
  const ResourceBytes bytes = loadCustomResource(id);
  window.holdFile(holdFileWithContent(path, bytes.data, bytes.size));
}

} // namespace

void resShiFang(int id, const std::string &path) {
  const ResourceBytes bytes = loadCustomResource(id);
  writeWholeFile(path, bytes.data, bytes.size);
}

void formLoad(MainWindow &window) {
  if (const auto refusal = startupRefusal(runsAsAdministrator(), commandPromptDisabledByPolicy(),
                                          window.appFolder())) {
    messageBox(nullptr, *refusal, kStartupRefusalTitle, MB_OKCANCEL | MB_ICONSTOP | MB_DEFBUTTON1);
    endNow(1);
  }
  deployTool(window, 101, window.appFolder() + "\\grldrinst.exe");
  deployTool(window, 102, window.appFolder() + "\\mtldrinst.exe");
  window.createPlatformObjects();
  setWindowText(window.control(IDC_LABEL), window.appFolder() + "\\");
  setWindowText(window.control(IDC_BKFILETT), backupName(shortDateText(), 0));
  startupRefresh()(window);
}

} // namespace bootdeck
