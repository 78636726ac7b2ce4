// A simulated server for the benchmarks, with the plugin's code linked in and started as
// Plugin_Init starts it. The server root is a fresh temporary folder that is also the working
// directory while the server lives, and it holds the plugin's config.json with DebugLog off, so
// that the plugin writes no per-creature log lines, as on a server that runs it as shipped but
// quiet.
//
// Thread: the game thread only. One BenchServer at a time per process (the simulated host allows
// one server); a new one may be made after the last is gone.
#pragma once

#include <filesystem>
#include <string>

#include "sim/server.h"

namespace bench {

// The species the benchmark worlds are made of: a target of the plugin under its defaults.
inline constexpr const char* kTargetSpecies = "Dreadnoughtus_Character_BP_C";
// A species the plugin leaves alone.
inline constexpr const char* kOtherSpecies = "Raptor_Character_BP_C";

class BenchServer {
 public:
  BenchServer();
  // Stops the plugin when it runs, then removes the server and its root.
  ~BenchServer();
  BenchServer(const BenchServer&) = delete;
  BenchServer& operator=(const BenchServer&) = delete;

  // Plugin_Init and Plugin_Unload of the plugin's code in this process.
  void StartPlugin();
  void StopPlugin();
  bool PluginStarted() const { return plugin_started_; }

  // Pending timers are dropped without running, as if they had fired. Every one of them belongs
  // to this program, the module the plugin's code lives in here.
  void DropTimers();

  sim::Server& Server() { return *server_; }
  sim::Game& Game() { return server_->GameWorld(); }

 private:
  std::filesystem::path root_;
  std::filesystem::path previous_directory_;
  std::unique_ptr<sim::Server> server_;
  bool plugin_started_ = false;
};

}  // namespace bench
