// The failures of reading a number out of a text, with the numbers Windows programmers know
// for them, so the report the program ends with reads as usual.
#pragma once

#include "platform/failure.h"

namespace bootdeck {

// A text that should hold a number holds something else (13).
Failure typeMismatch();

// A number does not fit the type that has to hold it (6).
Failure overflow();

} // namespace bootdeck
