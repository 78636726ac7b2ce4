// Hooks over the host's detour manager. The host finds a hook's owner from the detour's address,
// so it removes this plugin's hooks itself when it unloads the library.
#include "host/services.h"
#include "host_settings.h"
#include "sdk.h"

namespace host {

bool InstallHook(const GameName& name, void* detour, void** original) {
  if (!binding::MayHook(name)) return false;
  return AsaApi::GetHooks().SetHook(std::string(name.name), detour, original);
}

bool RemoveHook(const GameName& name, void* detour) {
  if (!binding::MayHook(name)) return false;
  return AsaApi::GetHooks().DisableHook(std::string(name.name), detour);
}

}  // namespace host
