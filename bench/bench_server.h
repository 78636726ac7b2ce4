// A simulated server for the benchmarks, with the plugin's code linked in and started as
// Plugin_Init starts it. The server root is a fresh temporary folder that is also the working
// directory while the server lives, and it holds the plugin's config.json with DebugLog off (the
// per-creature lines left out, as on a server that runs the plugin quiet) or on (as shipped).
//
// The host's log sinks are replaced by one that counts the lines written and flushed and
// discards them: what the plugin costs is measured without the console's and the file's writes,
// which the real host does differently, and the lines are what carries over to a real server.
//
// Thread: the game thread only. One BenchServer at a time per process (the simulated host allows
// one server); a new one may be made after the last is gone.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "sim/server.h"

namespace bench {

// The species the benchmark worlds are made of: a target of the plugin under its defaults.
inline constexpr const char* kTargetSpecies = "Dreadnoughtus_Character_BP_C";
// A species the plugin leaves alone.
inline constexpr const char* kOtherSpecies = "Raptor_Character_BP_C";

class BenchServer {
 public:
  explicit BenchServer(bool debug_log = false);
  // Stops the plugin when it runs, then removes the server and its root.
  ~BenchServer();
  BenchServer(const BenchServer&) = delete;
  BenchServer& operator=(const BenchServer&) = delete;

  // Plugin_Init and Plugin_Unload of the plugin's code in this process.
  void StartPlugin();
  void StopPlugin();
  bool PluginStarted() const { return plugin_started_; }
  bool DebugLog() const { return debug_log_; }

  // Pending timers are dropped without running, as if they had fired. Every one of them belongs
  // to this program, the module the plugin's code lives in here.
  void DropTimers();

  sim::Server& Server() { return *server_; }
  sim::Game& Game() { return server_->GameWorld(); }

  // Lines the plugin wrote to the host's sinks since the server started, and flushes it asked of
  // them (the host's own logger keeps the sinks it was made with).
  std::uint64_t LinesWritten() const;
  std::uint64_t Flushes() const;
  // Advances the game's clock, running every timer that falls due; a timer that throws ends the
  // benchmark with std::runtime_error.
  void Wait(double seconds);

 private:
  std::filesystem::path root_;
  std::filesystem::path previous_directory_;
  std::unique_ptr<sim::Server> server_;
  std::shared_ptr<class CountingSink> sink_;
  bool debug_log_;
  bool plugin_started_ = false;
};

}  // namespace bench
