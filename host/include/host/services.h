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

// What the host's offsets cache says of each name on the list of game names. The host keeps, for
// the game build it runs, every name it knows in that cache and loads it before any plugin starts:
// a name absent from a valid cache is one the game lacks, and asking the host for it would stop
// the server.
enum class NamePresence { Unknown, Present, Absent };
struct GameNamesCheck {
  // One per entry of kGameNames, in its order.
  std::vector<NamePresence> presence;
  // Why some names are Unknown (the cache is missing, of an older layout, or fails a check);
  // empty when none is.
  std::string unknown_reason;
  // The cache's generation folder, for the log; empty when the cache named none.
  std::string generation;
  // How long reading the cache took.
  double milliseconds = 0;
};
// Reads the cache once (the plugin's start-up, before its first look-up) and answers for every
// name on the list. From then on, until the next check, the host is never asked for a name the
// cache said Absent: its function address is null, its field offset or flag is kAbsentOffset
// (host/game.h), and a hook on it is refused. Nothing here throws; costs nothing afterwards.
GameNamesCheck CheckGameNames() noexcept;

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
