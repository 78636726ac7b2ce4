// The host interface over the current simulated server.
#include "sim/host_api.h"

#include <dlfcn.h>

#include <mutex>
#include <string>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "sim/game_functions.h"
#include "sim/server.h"

namespace simhost {

using sim::Server;

namespace {

// The file of the module holding address, as the loader was given it. The same module asks
// again and again (a timer per creature), so the last name is kept converted; it is compared by
// its text, which stays right when another library is loaded at the same place. The cache is
// never destroyed: plugins are unloaded from exit handlers too, after static objects may be gone.
std::u16string CallerModule(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return u"";
  struct LastModule {
    std::mutex mutex;
    std::string file;
    std::u16string module;
  };
  static LastModule* const last = new LastModule;
  std::lock_guard<std::mutex> lock(last->mutex);
  if (last->file != info.dli_fname) {
    last->file = info.dli_fname;
    last->module = sim::Utf8ToUtf16(last->file);
  }
  return last->module;
}

// The host's critical lines for a name its symbol dump lacks.
std::string NoOffset(const std::string& name) {
  return "Failed to get the offset of '" + name + "'.";
}
std::string NoBitField(const std::string& name) {
  return "Failed to get the bitfield address of '" + name + "'.";
}

// An unknown function name: the host writes its critical line, then ends the server unless it
// runs with HooksDoNotThrow; then the caller goes on with a null answer.
void UnknownFunction(Server& server, const std::string& name) {
  if (!server.HooksDoNotThrow()) server.End(NoOffset(name));
  server.Logs().Host().critical(NoOffset(name));
}

// A hook call on an unknown function name: as a look-up, and then the hook manager's refusal.
void UnknownHook(Server& server, const std::string& name) {
  UnknownFunction(server, name);
  server.Logs().Host().error(name + " does not exist");
}

}  // namespace

std::uintptr_t GetAddress(const void* object, const std::string& field) {
  auto& server = Server::Current();
  const auto address = server.Lookup().FieldAddress(object, field);
  if (!address) server.End(NoOffset(field));
  return *address;
}

BitFieldInfo GetBitField(const void* object, const std::string& flag) {
  auto& server = Server::Current();
  const auto at = server.Lookup().FlagAddress(object, flag);
  if (!at) server.End(NoBitField(flag));
  return BitFieldInfo{at->word_address, at->bit_position, at->num_bits, at->length};
}

void* GetAddress(const std::string& function) {
  auto& server = Server::Current();
  void* address = server.Lookup().FunctionAddress(function);
  if (address == nullptr) UnknownFunction(server, function);
  return address;
}

bool SetHook(const std::string& name, void* detour, void** original) {
  auto& server = Server::Current();
  if (!server.Lookup().KnowsFunction(name)) {
    UnknownHook(server, name);
    return false;
  }
  return server.Hooks().Install(name, detour, original);
}

bool DisableHook(const std::string& name, void* detour) {
  auto& server = Server::Current();
  if (!server.Lookup().KnowsFunction(name)) {
    UnknownHook(server, name);
    return false;
  }
  return server.Hooks().Remove(name, detour);
}

// A command belongs to the module that registered it, found from the caller's address as the
// real host finds it.
void AddConsoleCommand(const std::u16string& name, const ConsoleCommand& handler) {
  Server::Current().Commands().console.Add(name, handler,
                                           CallerModule(__builtin_return_address(0)));
}
void AddRconCommand(const std::u16string& name, const RconCommand& handler) {
  Server::Current().Commands().rcon.Add(name, handler, CallerModule(__builtin_return_address(0)));
}
void AddChatCommand(const std::u16string& name, const ChatCommand& handler) {
  Server::Current().Commands().chat.Add(name, handler, CallerModule(__builtin_return_address(0)));
}
bool RemoveConsoleCommand(const std::u16string& name) {
  return Server::Current().Commands().console.Remove(name);
}
bool RemoveRconCommand(const std::u16string& name) {
  return Server::Current().Commands().rcon.Remove(name);
}
bool RemoveChatCommand(const std::u16string& name) {
  return Server::Current().Commands().chat.Remove(name);
}

void* GetWorld() {
  return Server::Current().GameWorld().World();
}

// The host's messaging manager: it names the sender with the game's narrow string constructor
// and shows the text through the game's direct chat message, both looked up by name without a
// check. A game lacking either stops the server, or under HooksDoNotThrow crashes it through the
// null address.
void SendServerMessage(void* player_controller, float r, float g, float b, float a,
                       const std::u16string& text) {
  auto& server = Server::Current();
  if (server.GameWorld().World() == nullptr)
    server.End("A player message was sent while no world is up");
  const auto resolve = [&server](const host::GameName& name) {
    void* address = server.Lookup().HostFunctionAddress(name.name);
    if (address == nullptr) {
      UnknownFunction(server, name.name);
      server.End(std::string("The host called ") + name.name + " through a null address");
    }
    return address;
  };
  using Narrow = void (*)(sim::FString*, const char*);
  using Direct = void (*)(void*, const sim::FString*, sim::FLinearColor, bool, const sim::FString*);
  const auto narrow = reinterpret_cast<Narrow>(resolve(host::game_names::kFStringFromNarrow));
  const auto direct =
      reinterpret_cast<Direct>(resolve(host::game_names::kClientServerChatDirectMessage));
  sim::FString sender;
  narrow(&sender, "Server");
  sim::FString message = sim::MakeGameString(text);
  direct(player_controller, &message, sim::FLinearColor{r, g, b, a}, false, &sender);
  sim::ReleaseGameString(message);
  sim::ReleaseGameString(sender);
}

void DelayExecute(const std::function<void()>& callback, int delay_seconds,
                  const std::u16string& identifier) {
  Server::Current().Clock().Add(callback, delay_seconds, identifier,
                                CallerModule(__builtin_return_address(0)));
}

void UnloadAllTimers() {
  Server::Current().Clock().DropModule(CallerModule(__builtin_return_address(0)));
}

double ClockSeconds() {
  return Server::Current().Clock().Now();
}

std::vector<spdlog::sink_ptr>& GetLogSinks() {
  return Server::Current().Logs().Sinks();
}

std::string GetCurrentDir() {
  return Server::Current().Win64Dir().string();
}

std::filesystem::file_time_type ServerStartTime() {
  return Server::Current().StartTime();
}

bool OffsetsCacheFileLocked(const std::string& path) noexcept {
  try {
    Server* server = Server::CurrentOrNull();
    return server != nullptr && server->OffsetsCache().IsLocked(path);
  } catch (...) {
    return false;
  }
}

}  // namespace simhost
