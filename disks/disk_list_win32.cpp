#include "disks/disk_list_win32.h"

#include "app/control_ids.h"
#include "app/main_window.h"
#include "app/shutdown.h"
#include "disks/backup_name.h"
#include "disks/disk_item.h"
#include "disks/firmware_notice.h"
#include "installer/win32_firmware.h"
#include "platform/combo_box.h"
#include "platform/locale_text.h"
#include "platform/message_box.h"
#include "platform/wait_cursor.h"
#include "platform/window_text.h"

namespace bootdeck {

namespace {

const char kNoMediumTitle[] = "错误:无安装介质";
const char kNoMediumPrompt[] = "您的电脑没装硬盘或移动存储!\r\n\r\n"
                               "安装文件无法部署在安装介质上,请确认后重新运行程序.\r\n"
                               "程序将退出.";

// An owner only once the window is shown: at start-up the box stands on its own.
HWND visibleOwner(const MainWindow &window) {
  return IsWindowVisible(window.hwnd()) ? window.hwnd() : nullptr;
}

} // namespace

ProbeContext probeContext(MainWindow &window) {
  return {window.processRunner(), window.fileSystem(), window.appFolder(), decimalSeparator()};
}

void refreshdrive(MainWindow &window) {
  const WaitCursor waiting;
  const HWND list = window.control(IDC_COMBO_CHOOSEHD);
  clearItems(list);
  for (const std::string &item : enumerateDiskItems(probeContext(window)))
    appendItem(list, item);
}

void frashClick(MainWindow &window) {
  refreshdrive(window);
  const HWND list = window.control(IDC_COMBO_CHOOSEHD);
  if (itemCount(list) == 0) {
    messageBox(visibleOwner(window), kNoMediumPrompt, kNoMediumTitle,
               MB_YESNO | MB_DEFBUTTON1 | MB_ICONSTOP);
    endNow(1);
  }
  // A selection made by the program sends no notification, so the choice is handled here.
  selectItem(list, 0);
  comboChoosehdClick(window);
}

void comboChoosehdClick(MainWindow &window) {
  const HWND list = window.control(IDC_COMBO_CHOOSEHD);
  const int chosen = selectedItem(list);
  if (chosen < 0)
    return;
  setWindowText(window.control(IDC_BKFILETT),
                backupName(shortDateText(), itemNumber(itemText(list, chosen))));
}

void refreshAtStartup(MainWindow &window) {
  const HWND result = window.control(IDC_RESULTTEXT);
  setWindowText(result, withFirmwareNotice(installer::decideFirmware(installer::askFirmware()),
                                           windowText(result)));
  frashClick(window);
}

} // namespace bootdeck
