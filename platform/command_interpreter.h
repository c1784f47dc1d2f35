// Which command interpreter runs the "%comspec% /c ..." command texts, and how. The program runs
// elevated: nothing that another program of the user can set (ComSpec in the user's environment,
// the interpreter's AutoRun command) may choose what runs with its rights.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bootdeck {

// The interpreter to start: `comSpec` (the expanded value of %ComSpec%) when it names a program
// directly inside `systemFolder`, the folders compared without regard to the case of ASCII
// letters; otherwise systemFolder + "\cmd.exe".
std::string interpreterPath(std::string_view comSpec, std::string_view systemFolder);

// The command line that starts `interpreter` for `command`, a text "%comspec%" (any case) +
// arguments: the interpreter quoted, then "/D" (no AutoRun command first), then the arguments.
// Nothing when `command` does not start with "%comspec% ".
std::optional<std::string> interpreterCommandLine(std::string_view command,
                                                  const std::string &interpreter);

// The policy value DisableCMD of the user and of the machine, each when present: 1 (batch files
// refused too) or 2 (batch files allowed) in either means the command prompt is disabled.
bool commandPromptDisabled(std::optional<unsigned long> userValue,
                           std::optional<unsigned long> machineValue);

} // namespace bootdeck
