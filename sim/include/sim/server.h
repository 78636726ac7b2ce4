// The simulated server: the game and its plugin host, under one server root laid out as the real
// server's. One server is current at a time; the host interface (host_api.h) reaches it.
//
// The host is as strict as the real one: on a fatal error (an unknown game name, a player message
// while no world is up, a player-only game function called on another object, an exception that
// leaves plugin code into the game or the host) it ends the server process, as the real server
// ends: End writes the host's critical line, flushes the logs and exits with kServerEndStatus.
// Nothing the plugin does can catch that.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sim/classes.h"
#include "sim/commands.h"
#include "sim/faults.h"
#include "sim/game.h"
#include "sim/hooks.h"
#include "sim/logs.h"
#include "sim/memory.h"
#include "sim/names.h"
#include "sim/objects.h"
#include "sim/offsets_cache.h"
#include "sim/plugin_host.h"
#include "sim/reflection.h"
#include "sim/timers.h"

namespace sim {

// The exit status of a server process that the host ended on a fatal error (see Server::End).
inline constexpr int kServerEndStatus = 3;

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
  // An "error ..." line; counted, so that a script with errors can fail. While errors are held
  // (a console command is running), the text is kept for the console's closing line instead.
  void Error(const std::string& text);
  int ErrorCount() const { return errors_; }
  // Starts holding errors back; TakeHeldErrors hands them over and stops holding. Game thread.
  void HoldErrors() { holding_errors_ = true; }
  std::vector<std::string> TakeHeldErrors();

  // Ends the server process: message becomes the host's critical log line (also written to
  // standard error as "[API][critical] <message>"), the logs and the output are flushed, and the
  // process exits with kServerEndStatus at once, running no destructor. The critical line gets
  // through even while the log is set to fail.
  [[noreturn]] void End(const std::string& message);
  // Ends the server for the exception being handled (call it from a catch block only): one that
  // left plugin code at where, into the game or the host.
  [[noreturn]] void EndForEscapedException(const std::string& where);

  // Whether the host's own config.json (in Win64Dir()) set settings.HooksDoNotThrow when the
  // server started: then an unknown function name gives a null address, and a hook on it is
  // refused, instead of ending the server. The host reads the file once, at its start, as the
  // real one does: an edit made later changes nothing until the next server start.
  bool HooksDoNotThrow() const { return hooks_do_not_throw_; }
  // When the server started, on the file system's clock.
  std::filesystem::file_time_type StartTime() const { return start_time_; }

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path Win64Dir() const;
  std::filesystem::path PluginDir() const;
  std::filesystem::path SaveFile() const;

  TrackedMemory& Memory() { return memory_; }
  NameTable& Names() { return names_; }
  Reflection& Lookup() { return reflection_; }
  sim::Faults& Faults() { return faults_; }
  HookTable& Hooks() { return hooks_; }
  ObjectTable& Objects() { return objects_; }
  ClassTree& Classes() { return classes_; }
  Timers& Clock() { return timers_; }
  CommandRegistries& Commands() { return commands_; }
  LogSinks& Logs() { return *logs_; }
  Game& GameWorld() { return *game_; }
  PluginHost& Plugin() { return *plugin_; }
  // The host's offsets cache under Win64Dir()/ArkApi/Cache, written when the server starts from
  // what the game has. A name the game forgets or is given while no plugin is loaded rewrites it,
  // as a restart after a game update would; while a plugin is loaded the cache stays the one the
  // host loaded at its start.
  HostOffsetsCache& OffsetsCache() { return *offsets_cache_; }

  // Calls of the game function "FName.ToString(FString&)" since the server started: what a
  // plugin spends converting names to text, read by the benchmarks beside Lookup().Lookups().
  std::uint64_t NameConversions() const { return name_conversions_; }
  void CountNameConversion() { ++name_conversions_; }

 private:
  std::filesystem::path root_;
  std::function<void(const std::string&)> output_;
  int errors_ = 0;
  bool holding_errors_ = false;
  std::vector<std::string> held_errors_;
  sim::Faults faults_;
  std::uint64_t name_conversions_ = 0;
  bool hooks_do_not_throw_ = false;
  std::filesystem::file_time_type start_time_;
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
  std::unique_ptr<HostOffsetsCache> offsets_cache_;
};

}  // namespace sim
