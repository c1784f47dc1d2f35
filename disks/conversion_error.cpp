#include "disks/conversion_error.h"

namespace bootdeck {

Failure typeMismatch() {
  return Failure(13, "类型不匹配");
}

Failure overflow() {
  return Failure(6, "溢出");
}

} // namespace bootdeck
