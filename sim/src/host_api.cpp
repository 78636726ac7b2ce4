// The host interface over the current simulated server.
#include "sim/host_api.h"

#include <dlfcn.h>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "sim/game_functions.h"
#include "sim/server.h"

namespace simhost {

using sim::Server;

namespace {

// The file of the module holding address, as the loader was given it.
std::u16string CallerModule(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return u"";
  return sim::Utf8ToUtf16(info.dli_fname);
}

}  // namespace

std::uintptr_t GetAddress(const void* object, const std::string& field) {
  return Server::Current().Lookup().FieldAddress(object, field);
}

BitFieldInfo GetBitField(const void* object, const std::string& flag) {
  const auto at = Server::Current().Lookup().FlagAddress(object, flag);
  return BitFieldInfo{at.word_address, at.bit_position, at.num_bits, at.length};
}

void* GetAddress(const std::string& function) {
  return Server::Current().Lookup().FunctionAddress(function);
}

bool SetHook(const std::string& name, void* detour, void** original) {
  return Server::Current().Hooks().Install(name, detour, original);
}

bool DisableHook(const std::string& name, void* detour) {
  return Server::Current().Hooks().Remove(name, detour);
}

void AddConsoleCommand(const std::u16string& name, const ConsoleCommand& handler) {
  Server::Current().Commands().console.Add(name, handler);
}
void AddRconCommand(const std::u16string& name, const RconCommand& handler) {
  Server::Current().Commands().rcon.Add(name, handler);
}
void AddChatCommand(const std::u16string& name, const ChatCommand& handler) {
  Server::Current().Commands().chat.Add(name, handler);
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

void SendServerMessage(void* player_controller, float r, float g, float b, float a,
                       const std::u16string& text) {
  auto& server = Server::Current();
  const auto* player = server.GameWorld().PlayerByController(player_controller);
  const int id = player ? player->id : 0;
  server.Print(fmt::format("msg {} {} {} {} {} {}", id, r, g, b, a,
                           nlohmann::json(sim::Utf16ToUtf8(text)).dump()));
}

void DelayExecute(const std::function<void()>& callback, int delay_seconds,
                  const std::u16string& identifier) {
  Server::Current().Clock().Add(callback, delay_seconds, identifier,
                                CallerModule(__builtin_return_address(0)));
}

void UnloadAllTimers() {
  Server::Current().Clock().DropModule(CallerModule(__builtin_return_address(0)));
}

std::vector<spdlog::sink_ptr>& GetLogSinks() {
  return Server::Current().Logs().Sinks();
}

std::string GetCurrentDir() {
  return Server::Current().Win64Dir().string();
}

}  // namespace simhost
