#include "plugin/command_table.h"

#include "commands/chat_command.h"
#include "commands/console_commands.h"
#include "commands/rcon_commands.h"
#include "commands/status_command.h"
#include "host/services.h"

namespace tinyhorde {

namespace {

constexpr const char* kChatCommand = "/hordesize";

struct NamedCommand {
  const char* name;
  host::ConsoleHandler console;
  host::RconHandler rcon;
};

const NamedCommand* Commands() {
  static const NamedCommand table[] = {
      {"hordesize.resizeall", &OnConsoleResizeAll, &OnRconResizeAll},
      {"hordesize.setscale", &OnConsoleSetScale, &OnRconSetScale},
      {"hordesize.reload", &OnConsoleReload, &OnRconReload},
      {"bigfit.resizeall", &OnConsoleResizeAll, &OnRconResizeAll},
      {"bigfit.setscale", &OnConsoleSetScale, &OnRconSetScale},
      {"bigfit.reload", &OnConsoleReload, &OnRconReload},
      {"hordesize.status", &OnConsoleStatus, &OnRconStatus},
      {"bigfit.status", &OnConsoleStatus, &OnRconStatus},
  };
  return table;
}
constexpr int kNamedCommands = 8;

}  // namespace

void RegisterCommands() {
  for (int i = 0; i < kNamedCommands; ++i)
    host::RegisterConsoleCommand(host::FString(Commands()[i].name), Commands()[i].console);
  for (int i = 0; i < kNamedCommands; ++i)
    host::RegisterRconCommand(host::FString(Commands()[i].name), Commands()[i].rcon);
  host::RegisterChatCommand(host::FString(kChatCommand), &OnChatCommand);
}

}  // namespace tinyhorde
