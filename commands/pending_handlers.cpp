// The command handlers are registered, but do nothing yet: the administration commands are built
// next, and replace this file.
#include "commands/chat_command.h"
#include "commands/console_commands.h"
#include "commands/rcon_commands.h"

namespace tinyhorde {

void OnConsoleResizeAll(host::APlayerController*, host::FString*, bool) {}
void OnConsoleSetScale(host::APlayerController*, host::FString*, bool) {}
void OnConsoleReload(host::APlayerController*, host::FString*, bool) {}
void OnRconResizeAll(host::RCONClientConnection*, host::RCONPacket*, host::UWorld*) {}
void OnRconSetScale(host::RCONClientConnection*, host::RCONPacket*, host::UWorld*) {}
void OnRconReload(host::RCONClientConnection*, host::RCONPacket*, host::UWorld*) {}
void OnChatCommand(host::AShooterPlayerController*, host::FString*, int, int) {}

}  // namespace tinyhorde
