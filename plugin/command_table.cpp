#include "plugin/command_table.h"

#include <string>

#include "commands/chat_command.h"
#include "commands/command_table.h"
#include "host/services.h"

namespace tinyhorde {

void RegisterCommands() {
  for (const CommandRow& row : CommandTable())
    for (const char* prefix : CommandPrefixes(row))
      host::RegisterConsoleCommand(host::FString(CommandName(prefix, row).c_str()), row.console);
  for (const CommandRow& row : CommandTable())
    for (const char* prefix : CommandPrefixes(row))
      host::RegisterRconCommand(host::FString(CommandName(prefix, row).c_str()), row.rcon);
  host::RegisterChatCommand(host::FString(kChatCommand), &OnChatCommand);
}

}  // namespace tinyhorde
