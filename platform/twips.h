// Layouts are kept in twips (1440 to the inch) and scaled once to the window's DPI.
#pragma once

namespace bootdeck {

// Pixels for `twips` at `dpi` dots per inch, rounded to the nearest pixel.
int twipsToPixels(int twips, int dpi);

} // namespace bootdeck
