// Registering the commands of the command table (commands/command_table.h): each row on the
// console and over RCON under every prefix (the "bigfit." names are older aliases of the
// "hordesize." names), and the one chat command. Nothing unregisters them: the host removes a
// plugin's commands by module when it unloads it, while removing one by name could take another
// plugin's command of the same name.
#pragma once

namespace tinyhorde {

// Registers console names, then RCON names, each in table order with every prefix of a row in
// turn, then the chat command.
void RegisterCommands();

}  // namespace tinyhorde
