#include "app/startup.h"

#include "app/control_ids.h"
#include "app/main_window.h"
#include "app/main_window_events.h"
#include "app/shutdown.h"
#include "disks/backup_name.h"
#include "platform/embedded_resource.h"
#include "platform/file_write.h"
#include "platform/locale_text.h"
#include "platform/message_box.h"
#include "platform/window_text.h"

namespace bootdeck {

namespace {

const char kBlankPathTitle[] = "注意:";
const char kBlankPathPrompt[] = "为了您的操作安全,您不能将程序防止在路径有空格的目录\r\n\r\n"
                                "建议您将程序防止在根目录.\r\n\r\n"
                                "程序将退出.";

} // namespace

void resShiFang(int id, const std::string &path) {
  const ResourceBytes bytes = loadCustomResource(id);
  writeWholeFile(path, bytes.data, bytes.size);
}

void formLoad(MainWindow &window) {
  // Tool command lines are never quoted, so a blank in the folder would split them.
  if (window.appFolder().find(' ') != std::string::npos) {
    messageBox(nullptr, kBlankPathPrompt, kBlankPathTitle,
               MB_OKCANCEL | MB_ICONSTOP | MB_DEFBUTTON1);
    endNow(1);
  }
  resShiFang(101, window.appFolder() + "\\grldrinst.exe");
  resShiFang(102, window.appFolder() + "\\mtldrinst.exe");
  window.createPlatformObjects();
  setWindowText(window.control(IDC_LABEL), window.appFolder() + "\\");
  setWindowText(window.control(IDC_BKFILETT), backupName(shortDateText(), 0));
  startupRefresh()(window);
}

} // namespace bootdeck
