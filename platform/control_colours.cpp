#include "platform/control_colours.h"

namespace bootdeck {

LRESULT controlColours(WPARAM dc, COLORREF text, int background) {
  const HDC context = reinterpret_cast<HDC>(dc);
  SetTextColor(context, text);
  SetBkColor(context, GetSysColor(background));
  // A system colour brush belongs to the system and is never deleted.
  return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

} // namespace bootdeck
