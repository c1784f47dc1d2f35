// Control ids of every window, shared by the program and its end-to-end tests.
#pragma once

// <windows.h> names a cursor IDC_HELP; here it is the help button. Include this header after
// <windows.h>, so the cursor's macro does not replace the button's name.
#ifdef IDC_HELP
#undef IDC_HELP
#endif

enum ControlId : int {
  // Main window "bootdeck".
  IDC_COMBO_CHOOSEHD = 1001,
  IDC_CHOOSEIT,
  IDC_TIP_WHICH2CHOOSE,
  IDC_A1,
  IDC_OPTIONUNINSTALL,
  IDC_OPTIONINSTALL,
  IDC_A2,
  IDC_MTLDR,
  IDC_GRLDR,
  IDC_TO,
  IDC_FROM,
  IDC_BKFILETT,
  IDC_RESULTTEXT,
  IDC_PROCH,
  IDC_HELP,
  IDC_EXIT,
  IDC_JUSTTEST,
  IDC_FRASH,
  IDC_FRAME,
  IDC_LABEL,
  IDC_NOWSTATE,
  IDC_RESTOREFILE,
  IDC_BKFILE,

  // Advanced-options dialog "高级选项".
  IDC_FLOPPYSCH = 2001,
  IDC_CANNOTBOOTPRE,
  IDC_CHECK1,
  IDC_OPTION11,
  IDC_OPTION12,
  IDC_WAITSEC,
  IDC_TEXT,
  IDC_LABEL0,
  IDC_LABEL1,
  IDC_ALLRIGHT,
  IDC_CANCEL,

  // Help window "帮助信息".
  IDC_TEXT2HELP = 3001,
  IDC_BACK,
  IDC_LABEL_TRUE,
};

// Window class names, so tests can find each window.
#define BOOTDECK_MAIN_CLASS L"bootdeck.grubinstall"
#define BOOTDECK_PRO_CLASS L"bootdeck.pro"
#define BOOTDECK_HELP_CLASS L"bootdeck.fm_help"
