// Runs command texts as child processes, in the role of the script shell's Run.
#pragma once

#include <string>

namespace bootdeck {

enum class WindowStyle { Hidden = 0, Normal = 1 };

struct RunResult {
  bool started = false;
  // The command's exit code; only meaningful when it was started and waited for.
  unsigned long exitCode = 0;
  // When not started: the system's error number and reason.
  unsigned long errorNumber = 0;
  std::string errorText;
};

class ProcessRunner {
public:
  virtual ~ProcessRunner() = default;
  // Runs `command`, "%comspec% " + arguments, through the command interpreter of the system
  // folder (see interpreterPath) started with /D, its environment references expanded, with the
  // application folder as its working directory; waits for its end when `wait` is set.
  virtual RunResult run(const std::string &command, WindowStyle style, bool wait) = 0;
  // True while a process started earlier without waiting has not yet ended.
  virtual bool unwaitedRunActive() = 0;
};

} // namespace bootdeck
