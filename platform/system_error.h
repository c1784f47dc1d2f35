// The system's error numbers turned into bootdeck::Failure with the system's own description.
#pragma once

#include "platform/failure.h"

#include <string>

namespace bootdeck {

// The system's description of error `number`, in the user's language, without a final line break.
std::string systemErrorText(unsigned long number);

// A Failure for the calling thread's last error, about `file` if it names one.
Failure lastErrorFailure(const std::string &file = {});

} // namespace bootdeck
