// The report with which the program ends on a failure it cannot go on from.
#pragma once

#include <string>

namespace bootdeck {

// "运行时错误 'N':", then what happened to which file, the system's own text on its own line and
// what the user can do. `file` is empty for a failure that concerns no file.
std::string failureReport(unsigned long number, const std::string &systemText,
                          const std::string &file);

} // namespace bootdeck
