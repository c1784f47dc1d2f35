// Creates the controls of a window from its table: in tab order, scaled from twips to the
// window's DPI, in the default dialog font, with tool tips only where the table has one.
#pragma once

#include "platform/control_table.h"
#include "platform/scoped.h"

#include <windows.h>

#include <vector>

namespace bootdeck {

// The screen's dots per inch, which the layout is scaled to.
int screenDpi();

// Sizes `window` for a client area given in twips and centres it on the screen.
void placeCentred(HWND window, int clientWidthTwips, int clientHeightTwips, int dpi);

class WindowControls {
public:
  // `table` must outlive this object; `window` must be destroyed before it.
  WindowControls(HWND window, const std::vector<ControlSpec> &table, int dpi);
  WindowControls(const WindowControls &) = delete;
  WindowControls &operator=(const WindowControls &) = delete;

  HWND control(int id) const;
  HWND toolTip() const { return toolTip_; }

  // Keeps the tab stop of an option group on its selected button, so Tab reaches the selected
  // one on every system (Wine moves to the group's tab-stop button, not to the checked one).
  void syncOptionTabStop(HWND optionButton);

private:
  struct Created {
    const ControlSpec *row;
    HWND hwnd;
    int group; // option group number, -1 for other controls
  };
  const Created *find(HWND hwnd) const;

  ScopedGdiObject font_;
  HWND toolTip_ = nullptr;
  std::vector<Created> controls_;
};

} // namespace bootdeck
