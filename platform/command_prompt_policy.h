// Whether the administrator's policy turns the command prompt away: every probe and every tool
// run of the program goes through it.
#pragma once

namespace bootdeck {

// True when DisableCMD is 1 or 2 under Software\Policies\Microsoft\Windows\System of the user
// or of the machine.
bool commandPromptDisabledByPolicy();

} // namespace bootdeck
