// Start-up and shut-down of the plugin, behind the two exported entries.
#pragma once

#include <string>
#include <vector>

namespace tinyhorde {

// Start-up, behind Plugin_Init; game thread, nothing else running plugin code. Creates the
// logger, resolves the game names, loads the settings, installs the hooks, registers the commands
// once per load of the library, and brings the creatures of a world already up to the settings.
// A missing game function or a refused hook is logged and turns shrinking off; the plugin stays
// loaded and keeps putting creatures back. A second start-up without a shut-down between first
// puts back what the first one shrank and removes its hooks, then starts afresh; the commands
// registered by the first stay. Throws only what the caller must contain (Plugin_Init does):
// a failure part-way leaves the steps already taken in place, and the next shut-down undoes them.
void InitializePlugin();
// Shut-down, behind Plugin_Unload; game thread. Puts every creature the plugin shrank back to
// full size (and every target of a world that is up), marks the plugin inactive so that pending
// timers do nothing, cancels them, and removes the hooks. The commands are left to the host,
// which removes them with the library. Safe without a start-up before it; never throws past its
// own containment of the restore.
void UnloadPlugin();

// Resolves every game name the plugin uses (part of start-up), logs each function the host does
// not have, and turns shrinking off while one that shrinking needs is missing.
void ResolveGameNames();

// The hooks the host refused at the last start-up.
const std::vector<std::string>& RefusedHooks();

}  // namespace tinyhorde
