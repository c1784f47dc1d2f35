#include "platform/twips.h"

namespace bootdeck {

int twipsToPixels(int twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  const long long half = 720;
  return static_cast<int>(scaled >= 0 ? (scaled + half) / 1440 : -((-scaled + half) / 1440));
}

} // namespace bootdeck
