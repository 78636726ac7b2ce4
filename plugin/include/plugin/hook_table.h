// The hooks the plugin installs, in installation order.
#pragma once

#include <string>
#include <vector>

#include "host/game_names.h"

namespace tinyhorde {

struct HookRow {
  host::GameName name;  // the game function, from the list of game names
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
