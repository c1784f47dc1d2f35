// GoogleTest's own customisation point, for MinGW's win32 thread model, whose C++ library has no
// std::mutex: GoogleTest wants one only for the notification its thread helper waits on, and the
// tests start no threads through it.
#pragma once

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
public:
  void Notify() { notified_ = true; }
  void WaitForNotification() {
    while (!notified_) {
    }
  }

private:
  std::atomic<bool> notified_{false};
};

} // namespace internal
} // namespace testing
