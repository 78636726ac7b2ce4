// Command registration over the host's command registry. Each handler is wrapped in a function
// of the host's own signature that hands our views of the host's objects on; nothing is cast
// between function types. The host records the owner of a command from the return address of
// Add*Command, which lies in this library.
#include "host/services.h"
#include "sdk_views.h"

namespace host {

void RegisterConsoleCommand(const FString& name, const ConsoleHandler& handler) {
  AsaApi::GetCommands().AddConsoleCommand(
      asaapi::View(name), [handler](::APlayerController* player, ::FString* line, bool flag) {
        handler(reinterpret_cast<APlayerController*>(player), asaapi::View(line), flag);
      });
}

void RegisterRconCommand(const FString& name, const RconHandler& handler) {
  AsaApi::GetCommands().AddRconCommand(
      asaapi::View(name),
      [handler](::RCONClientConnection* connection, ::RCONPacket* packet, ::UWorld* world) {
        handler(reinterpret_cast<RCONClientConnection*>(connection), asaapi::View(packet),
                reinterpret_cast<UWorld*>(world));
      });
}

void RegisterChatCommand(const FString& name, const ChatHandler& handler) {
  AsaApi::GetCommands().AddChatCommand(
      asaapi::View(name),
      [handler](::AShooterPlayerController* player, ::FString* message, int mode, int platform) {
        handler(reinterpret_cast<AShooterPlayerController*>(player), asaapi::View(message), mode,
                platform);
      });
}

}  // namespace host
