// Which user texts may go unquoted into the installer's command line.
#pragma once

#include <string>
#include <string_view>

namespace bootdeck {

// True when `text` is one plain file name for the command line: no blank, no control character,
// nothing a Windows file name cannot hold (\ / : * ? " < > |) and nothing the command interpreter
// acts on (& ^ %). An empty text is allowed: it means no backup file.
bool isPlainFileName(std::string_view text);

// The Windows device that `text` names instead of a file, in upper case: CON, PRN, AUX, NUL,
// COM1 to COM9, LPT1 to LPT9 (also with a superscript 1 to 3), CONIN$ or CONOUT$, in any case and
// also with an extension ("nul.mbr"). Empty for any other text.
std::string deviceNameIn(std::string_view text);

// True when `text` ends in a dot, which Windows drops from a file name.
bool endsInDot(std::string_view text);

// True when `text` is a whole number of seconds from 0 to 255 written in digits only.
bool isTimeOutSeconds(std::string_view text);

} // namespace bootdeck
