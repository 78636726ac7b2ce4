// Stand-ins for the game's own functions behind the hooks: each does nothing and answers a
// plain value (CanCryo yes, TakeDamage the amount, the camera functions the character's own arm
// length). Installed before the plugin starts, they sit behind the plugin's detours in place of
// the game's functions, so that a call through a hook's entry runs the plugin's detour alone:
// no other hooked function is entered, nothing is stored, and a creature outlives a Destroy or
// a capture to be measured again.
#pragma once

#include "sim/server.h"

namespace bench {

// The stand-in for a hook, one per hook of the game; null for a hook that has none.
void* GameStandIn(sim::Hook hook);

// Call before the plugin installs its hooks. Throws std::runtime_error when a hook has no
// stand-in or the host refuses one.
void InstallGameStandIns(sim::Server& server);

}  // namespace bench
