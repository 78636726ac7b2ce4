// Start-up and shut-down of the plugin, behind the two exported entries.
#pragma once

#include <string>
#include <vector>

namespace tinyhorde {

void InitializePlugin();
void UnloadPlugin();

// Resolves every game name the plugin uses (part of start-up), logs each function the host does
// not have, and turns shrinking off while one that shrinking needs is missing.
void ResolveGameNames();

// The hooks the host refused at the last start-up.
const std::vector<std::string>& RefusedHooks();

}  // namespace tinyhorde
