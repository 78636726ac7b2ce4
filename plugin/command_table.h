// The 17 commands the plugin registers: eight console commands, the same eight names over RCON,
// and one chat command. The "bigfit." names are older aliases of the "hordesize." names.
#pragma once

namespace tinyhorde {

// Registers in table order: console, then RCON, then chat.
void RegisterCommands();
// Unregisters the chat command, then the console commands, then the RCON commands.
void UnregisterCommands();

}  // namespace tinyhorde
