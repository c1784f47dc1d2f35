#include "operation/pro_layout.h"

#include "app/control_ids.h"

namespace bootdeck {

const std::vector<ControlSpec> &proDialogLayout() {
  static const std::vector<ControlSpec> layout = {
      // id, kind, container, caption, left, top, width, height, tab index, tool tip, selected
      {IDC_FLOPPYSCH, ControlKind::CheckBox, 0, "启动时在软驱上搜索mtldr 或grldr", 150, 165, 4035,
       270, 2, "启动时，若在硬盘上找不到mtldr 或grldr，Grub4Dos会试图到软盘上去寻找", true},
      {IDC_CANNOTBOOTPRE, ControlKind::CheckBox, 0, "启动时分区表非法时启动原来的MBR", 150, 615,
       3930, 300, 3, "启动时，当Grub4Dos找不到GRLDR时，会用原来的MBR来启动", true},
      {IDC_CHECK1, ControlKind::CheckBox, 0, "同时备份原来的MBR到第二扇区", 150, 1080, 2820, 360, 8,
       "若不选这个选项，则屏蔽这一功能.但是影响到卸载时的引导恢复", true},
      {IDC_OPTION11, ControlKind::OptionButton, 0, "优先引导安装的MBR", 165, 2175, 2055, 255, 9,
       "优先引导grub4dos", true},
      {IDC_OPTION12, ControlKind::OptionButton, 0, "优先引导原来的MBR", 150, 2520, 2955, 330, 10,
       "优先使用原来的MBR来启动(以前的操作系统或其他)", false},
      {IDC_WAITSEC, ControlKind::Label, 0, "等待", 3270, 2595, 375, 210, 4, nullptr, false},
      {IDC_TEXT, ControlKind::Edit, 0, "5", 3600, 2550, 510, 270, 5, "启动时会有5秒的等待时间",
       false},
      {IDC_LABEL0, ControlKind::Label, 0, "秒", 4110, 2595, 270, 195, 6, nullptr, false},
      {IDC_LABEL1, ControlKind::Label, 0, "注意: 若选中后者,在5秒内按空格,马上搜索安装的MBR", 180,
       2925, 4125, 405, 7, nullptr, false},
      {IDC_ALLRIGHT, ControlKind::PushButton, 0, "确定", 2100, 3735, 1125, 390, 0, nullptr, false},
      {IDC_CANCEL, ControlKind::PushButton, 0, "取消", 3390, 3735, 1095, 390, 1, nullptr, false},
  };
  return layout;
}

} // namespace bootdeck
