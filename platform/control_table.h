// A window described as data: each row is one control, in twips within its container.
#pragma once

enum class ControlKind {
  PushButton,
  OptionButton, // consecutive option buttons in tab order within one container form a group
  CheckBox,
  Frame,
  Label,
  Edit,
  MultiLineEdit,
  ReadOnlyMultiLineEdit,
  DropDownList
};

struct ControlSpec {
  int id;
  ControlKind kind;
  int container;                // 0: the window itself, otherwise the id of a frame
  const char *text;             // UTF-8 caption or initial text
  int left, top, width, height; // twips
  int tabIndex;
  const char *toolTip; // UTF-8, nullptr for none
  bool checked;        // initial state of an option button or check box
};
