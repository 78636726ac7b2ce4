// The simulated server: the game and its plugin host, under one server root laid out as the real
// server's. One server is current at a time; the host interface (host_api.h) reaches it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "sim/classes.h"
#include "sim/commands.h"
#include "sim/game.h"
#include "sim/hooks.h"
#include "sim/logs.h"
#include "sim/memory.h"
#include "sim/names.h"
#include "sim/objects.h"
#include "sim/plugin_host.h"
#include "sim/reflection.h"
#include "sim/timers.h"

namespace sim {

struct ServerOptions {
  std::filesystem::path root;         // made when missing
  std::filesystem::path plugin_file;  // the plugin library the host installs and loads
  // Every line the server prints (log, msg, rcon, ... lines); default: standard output.
  std::function<void(const std::string&)> output;
};

class Server {
 public:
  explicit Server(ServerOptions options);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // The current server; throws std::logic_error when there is none.
  static Server& Current();
  static Server* CurrentOrNull();

  void Print(const std::string& line) const { output_(line); }
  // An "error ..." line; counted, so that a script with errors can fail.
  void Error(const std::string& text);
  int ErrorCount() const { return errors_; }

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path Win64Dir() const;
  std::filesystem::path PluginDir() const;
  std::filesystem::path SaveFile() const;

  TrackedMemory& Memory() { return memory_; }
  NameTable& Names() { return names_; }
  Reflection& Lookup() { return reflection_; }
  HookTable& Hooks() { return hooks_; }
  ObjectTable& Objects() { return objects_; }
  ClassTree& Classes() { return classes_; }
  Timers& Clock() { return timers_; }
  CommandRegistries& Commands() { return commands_; }
  LogSinks& Logs() { return *logs_; }
  Game& GameWorld() { return *game_; }
  PluginHost& Plugin() { return *plugin_; }

  // Calls of the game function "FName.ToString(FString&)" since the server started: what a
  // plugin spends converting names to text, read by the benchmarks beside Lookup().Lookups().
  std::uint64_t NameConversions() const { return name_conversions_; }
  void CountNameConversion() { ++name_conversions_; }

 private:
  std::filesystem::path root_;
  std::function<void(const std::string&)> output_;
  int errors_ = 0;
  std::uint64_t name_conversions_ = 0;
  TrackedMemory memory_;
  NameTable& names_;
  Reflection reflection_;
  HookTable hooks_;
  ObjectTable objects_;
  ClassTree& classes_;
  Timers timers_;
  CommandRegistries commands_;
  std::unique_ptr<LogSinks> logs_;
  std::unique_ptr<Game> game_;
  std::unique_ptr<PluginHost> plugin_;
};

}  // namespace sim
