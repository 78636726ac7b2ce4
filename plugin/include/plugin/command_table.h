// The commands the plugin registers: console commands, the same names over RCON, and one chat
// command. The "bigfit." names are older aliases of the "hordesize." names. Nothing unregisters
// them: the host removes a plugin's commands by module when it unloads it, while removing one by
// name could take another plugin's command of the same name.
#pragma once

namespace tinyhorde {

// Registers in table order: console, then RCON, then chat.
void RegisterCommands();

}  // namespace tinyhorde
