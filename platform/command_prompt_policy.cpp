#include "platform/command_prompt_policy.h"

#include "platform/command_interpreter.h"
#include "platform/registry_value.h"

namespace bootdeck {

namespace {

const wchar_t kPolicies[] = L"Software\\Policies\\Microsoft\\Windows\\System";

} // namespace

bool commandPromptDisabledByPolicy() {
  return commandPromptDisabled(registryDword(HKEY_CURRENT_USER, kPolicies, L"DisableCMD"),
                               registryDword(HKEY_LOCAL_MACHINE, kPolicies, L"DisableCMD"));
}

} // namespace bootdeck
