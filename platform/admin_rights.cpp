#include "platform/admin_rights.h"

#include "platform/scoped.h"

#include <windows.h>

namespace bootdeck {

namespace {

struct SidTraits {
  static PSID invalid() { return nullptr; }
  static void close(PSID sid) { FreeSid(sid); }
};
using ScopedSid = Scoped<PSID, SidTraits>;

} // namespace

bool runsAsAdministrator() {
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  PSID sid = nullptr;
  if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &sid))
    return true;
  const ScopedSid administrators(sid);
  // A null token means the calling thread's effective token (Windows 2000 and later).
  BOOL member = FALSE;
  if (!CheckTokenMembership(nullptr, administrators.get(), &member))
    return true;
  return member != FALSE;
}

} // namespace bootdeck
