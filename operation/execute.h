// The order of the steps of an execution, decided apart from the windows that ask and tell.
#pragma once

#include "platform/process_runner.h"

#include <string>

namespace bootdeck {

// What an execution asks of the user and of the disk list.
class ExecutePrompts {
public:
  virtual ~ExecutePrompts() = default;
  // The confirmation; true only for OK.
  virtual bool confirmed() = 0;
  // The chosen disk probed again; when it changed, this has told the user already.
  virtual bool chosenDiskUnchanged() = 0;
  // A message that nothing runs, or why it could not.
  virtual void tell(const std::string &text) = 0;
};

// Runs `command` (the latest composition's) in a normal console window without waiting, after
// the confirmation and the re-check of the disk. Nothing is asked for an empty command (the
// composition has said why), nor while a tool started earlier still runs: two tools on one disk
// at once could interleave their writes.
void execute(const std::string &command, ProcessRunner &runner, ExecutePrompts &prompts);

} // namespace bootdeck
