// Whether the process may write to disks: that needs the rights of the Administrators group.
#pragma once

namespace bootdeck {

// True when the process's token holds the Administrators group enabled. Under UAC a filtered
// token holds the group for denying only, so it does not count. A check that cannot be made
// counts as true: the installer tool's own report then names the refusal.
bool runsAsAdministrator();

} // namespace bootdeck
