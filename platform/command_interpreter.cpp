#include "platform/command_interpreter.h"

namespace bootdeck {

namespace {

constexpr std::string_view kComSpecReference = "%comspec% ";

char asciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::string_view::size_type i = 0; i < a.size(); ++i)
    if (asciiLower(a[i]) != asciiLower(b[i]))
      return false;
  return true;
}

// A name that stays inside its folder, is read as one program name on a command line and is not
// changed by the expansion of the command line's environment references.
bool isPlainProgramName(std::string_view name) {
  return !name.empty() && name.find_first_not_of('.') != std::string_view::npos &&
         name.find_first_of("/:\"%") == std::string_view::npos;
}

bool disables(std::optional<unsigned long> value) {
  return value == 1ul || value == 2ul;
}

} // namespace

std::string interpreterPath(std::string_view comSpec, std::string_view systemFolder) {
  if (!systemFolder.empty() && systemFolder.back() == '\\')
    systemFolder.remove_suffix(1);
  const auto lastSeparator = comSpec.rfind('\\');
  if (lastSeparator != std::string_view::npos &&
      sameIgnoringAsciiCase(comSpec.substr(0, lastSeparator), systemFolder) &&
      isPlainProgramName(comSpec.substr(lastSeparator + 1)))
    return std::string(comSpec);
  return std::string(systemFolder) + "\\cmd.exe";
}

std::optional<std::string> interpreterCommandLine(std::string_view command,
                                                  const std::string &interpreter) {
  if (!sameIgnoringAsciiCase(command.substr(0, kComSpecReference.size()), kComSpecReference))
    return std::nullopt;
  command.remove_prefix(kComSpecReference.size() - 1);
  return "\"" + interpreter + "\" /D" + std::string(command);
}

bool commandPromptDisabled(std::optional<unsigned long> userValue,
                           std::optional<unsigned long> machineValue) {
  return disables(userValue) || disables(machineValue);
}

} // namespace bootdeck
