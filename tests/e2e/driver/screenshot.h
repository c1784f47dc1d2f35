// A picture of the whole screen, kept when a test fails.
#pragma once

#include <string>

namespace e2e {

// Writes the screen as a 24-bit BMP file; false when it cannot.
bool saveScreenshot(const std::string &path);

} // namespace e2e
