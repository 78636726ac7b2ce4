// The plugin host's services. Each maps onto one call of the real host; the simulated server
// offers the same. Everything here is called on the game thread.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <spdlog/common.h>

#include "host/types.h"

namespace host {

// Hooks. InstallHook puts detour in front of the named game function and stores in *original an
// entry through which the game's own function (or the next detour) still runs; it answers false
// when the host refuses. RemoveHook takes exactly that detour out again.
bool InstallHook(const std::string& name, void* detour, void** original);
bool RemoveHook(const std::string& name, void* detour);

// Commands. The host copies the handler and calls it with the whole typed line when the first
// word of a line equals name, ignoring case.
using ConsoleHandler = std::function<void(APlayerController*, FString*, bool)>;
using RconHandler = std::function<void(RCONClientConnection*, RCONPacket*, UWorld*)>;
using ChatHandler = std::function<void(AShooterPlayerController*, FString*, int, int)>;

void RegisterConsoleCommand(const FString& name, const ConsoleHandler& handler);
void RegisterRconCommand(const FString& name, const RconHandler& handler);
void RegisterChatCommand(const FString& name, const ChatHandler& handler);
bool UnregisterConsoleCommand(const FString& name);
bool UnregisterRconCommand(const FString& name);
bool UnregisterChatCommand(const FString& name);

// The game world; null while the server has none (during start-up, for example).
UWorld* CurrentWorld();

// Shows text to one player in a colour. One messenger per plugin, found by the plugin's
// module path.
class Messenger {
 public:
  virtual ~Messenger() = default;
  virtual void SendPlayerMessage(AShooterPlayerController* player, const FLinearColor& colour,
                                 const FString& text) = 0;
};
std::shared_ptr<Messenger> MessengerFor(const FString& moduleName);

// Runs callback once, on the game thread, delaySeconds after now. The host keeps its own copy of
// the callback until then and drops the timers of a module when it unloads that module.
void DelayExecuteInternal(const std::function<void()>& callback, int delaySeconds,
                          const FString& identifier, const FString& moduleName);

// The host's shared log sinks (console and file).
std::vector<spdlog::sink_ptr>& GetLogSinks();

// The server executable's folder, without a trailing separator.
std::string GetCurrentDir();

// The full path of the plugin's own library file.
FString GetPluginModulePath();

}  // namespace host
