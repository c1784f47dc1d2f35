// Waiting with a deadline: every wait in the end-to-end tests polls a condition until it holds or
// its time runs out, so a test never hangs and never relies on a fixed pause.
#pragma once

#include <chrono>
#include <functional>

namespace e2e {

using Milliseconds = std::chrono::milliseconds;
constexpr Milliseconds kTimeout{20000};

// True as soon as `condition` holds; false when `timeout` passes first.
bool waitUntil(const std::function<bool()> &condition, Milliseconds timeout = kTimeout);

} // namespace e2e
