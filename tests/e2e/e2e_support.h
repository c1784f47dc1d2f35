// What most end-to-end tests share: the environment of a normal start and the expected texts
// that depend on the day and the machine.
#pragma once

#include "tests/e2e/driver/app.h"

#include <string>
#include <vector>

namespace e2e {

// A normal start's environment: the device map of the prepared disk image(s).
Environment deviceMapEnvironment();

// COMSPEC pointed at the logging stand-in, which appends each command line it gets to `log`.
Environment comspecLoggerEnvironment(const std::string &log);
// The command lines the logging stand-in recorded, oldest first; none when there is no log.
std::vector<std::string> loggedCommands(const std::string &log);

// Today's short date, as the program under test formats it.
std::string todayShortDate();

// The system's description of error `number`, as the program reports it.
std::string systemErrorDescription(unsigned long number);

// The bytes of resource `id` of type "CUSTOM" in the executable `exe`.
std::string customResource(const std::string &exe, int id);

// The main window of `app`, shown after a start-up that ran through; fails the test otherwise.
HWND mainWindowOf(const App &app);

} // namespace e2e
