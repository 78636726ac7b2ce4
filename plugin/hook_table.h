// The 23 hooks the plugin installs, in installation order.
#pragma once

#include <string>
#include <vector>

namespace tinyhorde {

struct HookRow {
  const char* name;  // the game function, as the host names it
  void* detour;
  void** slot;
  bool storage;  // a restore path that must be in place before any creature may be shrunk
};

const std::vector<HookRow>& HookTable();

// Installs every hook in table order; answers the names of the hooks the host refused.
std::vector<std::string> InstallHooks();
// Removes every hook in table order.
void RemoveHooks();

}  // namespace tinyhorde
