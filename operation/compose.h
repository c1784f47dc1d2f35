// Turning the option set into the installer's command line and the plain-language summary.
#pragma once

#include <functional>
#include <string>

#include "operation/option_set.h"

namespace bootdeck {

struct Composition {
  std::string refusal;     // not empty: a text was refused; show this, compose and run nothing
  std::string commandLine; // "%comspec% /c " + tool path + flags + device
  std::string summary;     // "●"-lines joined by CR LF

  bool refused() const { return !refusal.empty(); }
  // The result box's text: the summary and one CR LF.
  std::string resultText() const { return summary + "\r\n"; }
};

// True only for an existing file (not a folder) at the given path.
using FileExists = std::function<bool(const std::string &path)>;

// `appFolder` holds the two tools; the file text is taken relative to it. `fileExists` is asked
// only when uninstalling. Throws Failure when the item text carries no item number.
Composition compose(const OptionSet &options, const std::string &appFolder,
                    const FileExists &fileExists);

} // namespace bootdeck
