// The simulated plugin host's public interface: what a plugin library, through its binding,
// links against, as a real plugin links against its host's import library. Game objects cross
// this boundary as untyped pointers; the binding gives them their types.
//
// Every function runs on the calling (game) thread. As on the real host, an unknown field or
// flag name ends the server (Server::End) with the critical line "Failed to get the offset of
// '<name>'." ("... the bitfield address of ..." for a flag); so does an unknown function name, in
// look-ups and in SetHook / DisableHook, unless the host's config.json set
// settings.HooksDoNotThrow when the server started: then the host writes that critical line and
// goes on, a look-up answers null, and a hook call adds the error "<name> does not exist" and
// answers false.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <spdlog/common.h>

namespace simhost {

// Game surface.
std::uintptr_t GetAddress(const void* object, const std::string& field);
struct BitFieldInfo {
  std::uint64_t offset;  // absolute address of the 32-bit word
  std::uint32_t bit_position;
  std::uint64_t num_bits;
  std::uint64_t length;
};
BitFieldInfo GetBitField(const void* object, const std::string& flag);
void* GetAddress(const std::string& function);

// Hooks.
bool SetHook(const std::string& name, void* detour, void** original);
bool DisableHook(const std::string& name, void* detour);

// Commands. Handlers receive game pointers (controller, the line as a game FString, ...).
using ConsoleCommand = std::function<void(void* controller, void* line, bool)>;
using RconCommand = std::function<void(void* connection, void* packet, void* world)>;
using ChatCommand = std::function<void(void* controller, void* message, int, int)>;
void AddConsoleCommand(const std::u16string& name, const ConsoleCommand& handler);
void AddRconCommand(const std::u16string& name, const RconCommand& handler);
void AddChatCommand(const std::u16string& name, const ChatCommand& handler);
bool RemoveConsoleCommand(const std::u16string& name);
bool RemoveRconCommand(const std::u16string& name);
bool RemoveChatCommand(const std::u16string& name);

// World, messages, timers, logs, folders.
void* GetWorld();
// Messages and timers belong to the module (library) that calls these functions, found from the
// return address and spelled as the host loaded it, as the real host does. A player message
// while no world is up ends the server (the real host has no messaging then).
void SendServerMessage(void* playerController, float r, float g, float b, float a,
                       const std::u16string& text);
void DelayExecute(const std::function<void()>& callback, int delaySeconds,
                  const std::u16string& identifier);
// Drops every pending timer of the calling module.
void UnloadAllTimers();
// The virtual clock the timers run on, in seconds since the server started.
double ClockSeconds();
std::vector<spdlog::sink_ptr>& GetLogSinks();
std::string GetCurrentDir();
// When the server started, on the file system's clock: the simulated server stands for the server
// process, whose start a binding compares file times with.
std::filesystem::file_time_type ServerStartTime();
// Whether the host holds that file of its offsets cache (UTF-8 path) open without sharing, so
// that no one else can open it. False when no server runs. Never throws.
bool OffsetsCacheFileLocked(const std::string& path) noexcept;

}  // namespace simhost
