#include "tests/e2e/driver/wait.h"

#include <windows.h>

namespace e2e {

bool waitUntil(const std::function<bool()> &condition, Milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition())
      return true;
    if (std::chrono::steady_clock::now() >= deadline)
      return false;
    Sleep(15); // the poll interval, not a wait for anything in particular
  }
}

} // namespace e2e
