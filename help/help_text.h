// The help window's fixed texts.
#pragma once

#include <string>
#include <string_view>

namespace bootdeck {

// The 71 lines of the help text joined by CR LF, with none after the last line.
std::string helpText();

// The one-line credit under the help text: product and version.
std::string_view creditText();

} // namespace bootdeck
