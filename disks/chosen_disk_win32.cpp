#include "disks/chosen_disk_win32.h"

#include "app/control_ids.h"
#include "app/main_window.h"
#include "disks/disk_list_win32.h"
#include "disks/disk_recheck.h"
#include "platform/combo_box.h"
#include "platform/message_box.h"
#include "platform/wait_cursor.h"

namespace bootdeck {

namespace {

const char kDisksChangedTitle[] = "注意:磁盘已变化";

std::string disksChangedPrompt(const std::string &chosenItemText) {
  return "列出磁盘之后,电脑上的硬盘或移动存储发生了变化:您选择的 \"" + chosenItemText +
         "\" 已不是原来的那一块磁盘,已不存在,或现在无法读取.\r\n\r\n"
         "为了不写错磁盘,程序没有执行任何操作.\r\n\r\n"
         "请单击 \"刷新\" 重新列出磁盘,仔细核对您的选择后再执行.";
}

} // namespace

bool confirmChosenDiskUnchanged(MainWindow &window) {
  const HWND list = window.control(IDC_COMBO_CHOOSEHD);
  const std::string chosen = itemText(list, selectedItem(list));
  {
    const WaitCursor waiting;
    if (chosenDiskUnchanged(probeContext(window), chosen))
      return true;
  }
  messageBox(window.hwnd(), disksChangedPrompt(chosen), kDisksChangedTitle,
             MB_OK | MB_ICONEXCLAMATION);
  return false;
}

} // namespace bootdeck
