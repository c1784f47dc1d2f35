// A process runner for tests: records every run and answers with a scripted reaction.
#pragma once

#include "platform/process_runner.h"

#include <functional>
#include <string>
#include <vector>

namespace bootdeck {

struct RecordedRun {
  std::string command;
  WindowStyle style;
  bool wait;
};

class FakeProcessRunner : public ProcessRunner {
public:
  // Called for each run, e.g. to write the output a real tool would leave behind.
  std::function<RunResult(const RecordedRun &)> reaction = [](const RecordedRun &) {
    RunResult started;
    started.started = true;
    return started;
  };
  std::vector<RecordedRun> runs;
  bool active = false; // what unwaitedRunActive() answers

  RunResult run(const std::string &command, WindowStyle style, bool wait) override {
    runs.push_back({command, style, wait});
    return reaction(runs.back());
  }
  bool unwaitedRunActive() override { return active; }
};

} // namespace bootdeck
