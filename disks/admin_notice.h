// The notice shown in the result box when the program runs without administrator rights, which
// every write to a disk needs.
#pragma once

#include <string>

namespace bootdeck {

// `resultText` with one line before it saying what will fail and what to do.
std::string withAdminNotice(const std::string &resultText);

} // namespace bootdeck
