// The process runner for Windows: the command interpreter started by CreateProcessW in a given
// working folder.
#pragma once

#include "platform/process_runner.h"
#include "platform/scoped.h"

#include <string>

namespace bootdeck {

class Win32ProcessRunner : public ProcessRunner {
public:
  explicit Win32ProcessRunner(const std::string &workingFolder);
  RunResult run(const std::string &command, WindowStyle style, bool wait) override;
  bool unwaitedRunActive() override;

private:
  std::wstring workingFolder_;
  ScopedHandle unwaited_; // the latest process started without waiting
};

} // namespace bootdeck
