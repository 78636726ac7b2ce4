// Hooks over the host's detour manager. The host finds a hook's owner from the detour's address,
// so it removes this plugin's hooks itself when it unloads the library.
#include "host/services.h"
#include "sdk.h"

namespace host {

bool InstallHook(const GameName& name, void* detour, void** original) {
  return AsaApi::GetHooks().SetHook(std::string(name.name), detour, original);
}

bool RemoveHook(const GameName& name, void* detour) {
  return AsaApi::GetHooks().DisableHook(std::string(name.name), detour);
}

}  // namespace host
