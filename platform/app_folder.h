// The folder of the running executable, as the system reports it: without a final backslash,
// except for a drive's root folder, which keeps its backslash ("C:\").
#pragma once

#include <string>

namespace bootdeck {

std::string appFolder();

} // namespace bootdeck
