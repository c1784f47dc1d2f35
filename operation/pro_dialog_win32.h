// The advanced-options dialog "pro": modeless, without an owner, at most one instance. Its state
// is the state of its controls; the composition reads them through readAdvancedOptions.
#pragma once

#include "operation/option_set.h"

namespace bootdeck {

class MainWindow;

// proch_Click: shows the hidden instance with the values it holds, or a new one with the
// defaults; returns at once.
void prochClick(MainWindow &window);

// The five values as they stand, confirmed or not. Creates a hidden instance with the defaults
// when none exists; never shows it.
AdvancedOptions readAdvancedOptions();

// Closing the main window destroys the instance, if there is one.
void unloadProDialog(MainWindow &window);

} // namespace bootdeck
