// The plugin host's services. Each maps onto one call of the real host; the simulated server
// offers the same. Everything here is called on the game thread.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <spdlog/common.h>

#include "host/game_names.h"
#include "host/types.h"

namespace host {

// Hooks. InstallHook puts detour in front of the named game function and stores in *original an
// entry through which the game's own function (or the next detour) still runs; it answers false
// when the host refuses. RemoveHook takes exactly that detour out again.
//
// A name the SDK shows on no live line (one marked `unverified_because`) is asked for only while
// HostSurvivesUnknownFunctions() holds: otherwise InstallHook answers false and RemoveHook does
// nothing, without reaching the host, and the function, field and flag look-ups of host/game.h
// never ask for such a name at all.
bool InstallHook(const GameName& name, void* detour, void** original);
bool RemoveHook(const GameName& name, void* detour);

// Whether the host survives a function or hook name the game lacks: its own config.json
// (GetCurrentDir() + "/config.json") sets settings.HooksDoNotThrow, so that it refuses such a
// hook instead of stopping the server. ReadHostSettings reads the file as the host reads it (the
// plugin's start-up calls it once); a file that is missing, unreadable or malformed, a
// `settings` that is no object, a value that is no boolean, and a file written after the server
// process started (the host read the one before) all count as false, as does every call before
// the first read. Nothing here throws.
void ReadHostSettings();
bool HostSurvivesUnknownFunctions();

// Commands. The host copies the handler and calls it with the whole typed line when the first
// word of a line equals name, ignoring case.
using ConsoleHandler = std::function<void(APlayerController*, FString*, bool)>;
using RconHandler = std::function<void(RCONClientConnection*, RCONPacket*, UWorld*)>;
using ChatHandler = std::function<void(AShooterPlayerController*, FString*, int, int)>;

void RegisterConsoleCommand(const FString& name, const ConsoleHandler& handler);
void RegisterRconCommand(const FString& name, const RconHandler& handler);
void RegisterChatCommand(const FString& name, const ChatHandler& handler);

// The game world; null while the server has none (during start-up, for example).
UWorld* CurrentWorld();

// Shows text to one player in a colour. The text goes to the host as the argument of a "{}"
// format, never as a format itself. While no world is up there is no player to show it to, and
// the message is dropped (on a real server the host has no messaging then and would crash).
class Messenger {
 public:
  virtual ~Messenger() = default;
  virtual void SendPlayerMessage(AShooterPlayerController* player, const FLinearColor& colour,
                                 const FString& text) = 0;
};
// The plugin's messenger; the host finds it by the calling plugin's own module.
std::shared_ptr<Messenger> GetMessenger();

// Runs callback once, on the game thread, about delaySeconds after now, under identifier. The
// host keeps its own copy of the callback until then; it keys the timer by the calling plugin's
// module and drops that module's pending timers when it unloads it.
void DelayExecute(const std::function<void()>& callback, int delaySeconds,
                  const FString& identifier);
// Withdraws every pending timer of this plugin.
void CancelTimers();

// Seconds on the clock the host's timers run on, from an arbitrary start: time passes on it as
// DelayExecute's delays see it pass (the simulated server's virtual clock; on the real host a
// steady clock). It never goes back while the server runs; a new server may start it anew.
// Cheap enough to read for every creature an event touches.
double TimerClockSeconds();

// The host's shared log sinks (console and file).
std::vector<spdlog::sink_ptr>& GetLogSinks();

// The server executable's folder, without a trailing separator.
std::string GetCurrentDir();

// The full path of the plugin's own library file, spelled as the host spelled it when it loaded
// the library (the host's timer and messaging keys compare it as text).
FString GetPluginModulePath();

}  // namespace host
