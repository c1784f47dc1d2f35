// Why the program must not run at all: checked before anything is written or run.
#pragma once

#include <optional>
#include <string>

namespace bootdeck {

// Title of every start-up refusal's message box.
constexpr const char *kStartupRefusalTitle = "注意:";

// The prompt of the first reason that holds, or nothing. In this order: the process lacks
// administrator rights (every probe and every write would be denied); the administrator's policy
// disables the command prompt (every probe would come back empty); the folder path holds a
// blank, a character the command interpreter acts on (& | < > ^ % , ; =) or is a network path
// (the interpreter cannot work there): the tool command lines are never quoted.
std::optional<std::string> startupRefusal(bool administrator, bool commandPromptDisabled,
                                          const std::string &appFolder);

} // namespace bootdeck
