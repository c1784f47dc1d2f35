#include "app/main_window_layout.h"

#include "app/control_ids.h"

namespace bootdeck {

const std::vector<ControlSpec> &mainWindowLayout() {
  static const std::vector<ControlSpec> layout = {
      // id, kind, container, caption, left, top, width, height, tab index, tool tip, selected
      {IDC_COMBO_CHOOSEHD, ControlKind::DropDownList, 0, "", 2355, 525, 4770, 300, 0,
       "请您根据大小判断,或移除干扰介质", false},
      {IDC_CHOOSEIT, ControlKind::PushButton, 0, "执行", 4860, 4695, 1080, 405, 1, nullptr, false},
      {IDC_TIP_WHICH2CHOOSE, ControlKind::Label, 0,
       "请您选择要将MTLDR 或 GRLDR 安装到哪一块介质上:", 2370, 135, 4305, 210, 2, nullptr, false},
      {IDC_A1, ControlKind::Frame, 0, "", 150, 270, 825, 780, 3, nullptr, false},
      {IDC_OPTIONUNINSTALL, ControlKind::OptionButton, IDC_A1, "卸载", 60, 465, 675, 225, 4,
       "若(下方)恢复文件存在,则从恢复文件恢复到以前的引导;若所备份的文件不存在,"
       "则从第二个扇区中恢复原来的MBR",
       false},
      {IDC_OPTIONINSTALL, ControlKind::OptionButton, IDC_A1, "安装", 60, 165, 705, 270, 5,
       "决定后面的选择", true},
      {IDC_A2, ControlKind::Frame, 0, "", 1050, 270, 870, 780, 6, nullptr, false},
      {IDC_MTLDR, ControlKind::OptionButton, IDC_A2, "mtldr", 75, 180, 765, 240, 7, nullptr, true},
      {IDC_GRLDR, ControlKind::OptionButton, IDC_A2, "grldr", 75, 420, 765, 240, 8, nullptr, false},
      {IDC_TO, ControlKind::Label, 0, "至", 2115, 465, 300, 225, 9, nullptr, false},
      {IDC_FROM, ControlKind::Label, 0, "于", 2100, 705, 255, 210, 10, nullptr, false},
      {IDC_BKFILETT, ControlKind::Edit, 0, "", 1980, 1770, 5130, 255, 11,
       "置空则不备份为文件或不从文件恢复", false},
      {IDC_RESULTTEXT, ControlKind::MultiLineEdit, 0, ">输出结果-等待您下达指令...", 225, 2670,
       6960, 1920, 12, nullptr, false},
      {IDC_PROCH, ControlKind::PushButton, 0, "高级", 5985, 2220, 1050, 375, 13, nullptr, false},
      {IDC_HELP, ControlKind::PushButton, 0, "帮助", 4905, 2220, 975, 375, 14, nullptr, false},
      {IDC_EXIT, ControlKind::PushButton, 0, "退出", 6030, 4710, 1125, 390, 15, nullptr, false},
      {IDC_JUSTTEST, ControlKind::CheckBox, 0, "测试模式", 240, 2385, 1050, 225, 16,
       "模拟所需的操作，但不真正地把MBS/BS写到硬盘/映像中", false},
      {IDC_FRASH, ControlKind::PushButton, 0, "刷新", 6495, 90, 660, 255, 17, "请不要频繁的刷新",
       false},
      {IDC_FRAME, ControlKind::Frame, 0, "", 135, 1125, 7125, 960, 18, nullptr, false},
      {IDC_LABEL, ControlKind::Label, IDC_FRAME, "", 105, 165, 6855, 375, 19, nullptr, false},
      {IDC_NOWSTATE, ControlKind::PushButton, 0, "当前状态", 210, 4710, 1005, 375, 20, nullptr,
       false},
      {IDC_RESTOREFILE, ControlKind::Label, IDC_FRAME, "恢复文件:", 960, 675, 810, 225, 21, nullptr,
       false},
      {IDC_BKFILE, ControlKind::Label, IDC_FRAME, "备份文件\\", 75, 675, 855, 195, 22, nullptr,
       false},
  };
  return layout;
}

} // namespace bootdeck
