// Which user texts may go unquoted into the installer's command line.
#pragma once

#include <string_view>

namespace bootdeck {

// True when `text` is one plain file name for the command line: no blank, no control character,
// nothing a Windows file name cannot hold (\ / : * ? " < > |) and nothing the command interpreter
// acts on (& ^ %). An empty text is allowed: it means no backup file.
bool isPlainFileName(std::string_view text);

// True when `text` is a whole number of seconds from 0 to 255 written in digits only.
bool isTimeOutSeconds(std::string_view text);

} // namespace bootdeck
