// What the tool says about a command line it cannot use: the reason, then how it is used.
#pragma once

#include "installer/arguments.h"
#include "installer/text_buffer.h"

namespace installer {

void appendUsage(const Variant &variant, const UsageError &error, TextBuffer &text);

} // namespace installer
