#include "bench_server.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include <spdlog/sinks/sink.h>

#include "plugin/lifecycle.h"
#include "scaling/post_save_resize.h"

namespace bench {

namespace {

std::filesystem::path MakeRoot() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "tinyhorde-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("cannot make a server root under the temporary folder");
  return pattern;
}

}  // namespace

// Counts and discards: neither formats nor writes a line.
class CountingSink : public spdlog::sinks::sink {
 public:
  void log(const spdlog::details::log_msg&) override {
    lines.fetch_add(1, std::memory_order_relaxed);
  }
  void flush() override { flushes.fetch_add(1, std::memory_order_relaxed); }
  void set_pattern(const std::string&) override {}
  void set_formatter(std::unique_ptr<spdlog::formatter>) override {}

  std::atomic<std::uint64_t> lines{0};
  std::atomic<std::uint64_t> flushes{0};
};

BenchServer::BenchServer(bool debug_log)
    : root_(MakeRoot()),
      previous_directory_(std::filesystem::current_path()),
      debug_log_(debug_log) {
  // A host that survives a name the game lacks, and a game that has the names the SDK shows on
  // no live line: every hook of the plugin is in, so that each detour can be measured.
  const auto host_config = root_ / "ShooterGame/Binaries/Win64/config.json";
  std::filesystem::create_directories(host_config.parent_path());
  std::ofstream(host_config) << R"({"settings": {"HooksDoNotThrow": true}})"
                             << "\n";
  server_ = std::make_unique<sim::Server>(sim::ServerOptions{root_, {}, [](const std::string&) {}});
  // Before the plugin's logger copies the list.
  sink_ = std::make_shared<CountingSink>();
  server_->Logs().Sinks().assign(1, sink_);
  for (const host::GameName* name : host::kGameNames)
    if (name->unverified_because != nullptr) server_->Lookup().MakeKnown(name->name);
  std::filesystem::current_path(root_);
  // Found by the plugin relative to the working directory, in the server's own plugin folder.
  std::filesystem::create_directories(server_->PluginDir());
  std::ofstream(server_->PluginDir() / "config.json")
      << "{\"DebugLog\": " << (debug_log ? "true" : "false") << "}\n";
}

std::uint64_t BenchServer::LinesWritten() const {
  return sink_->lines.load();
}

std::uint64_t BenchServer::Flushes() const {
  return sink_->flushes.load();
}

void BenchServer::Wait(double seconds) {
  server_->Clock().Advance(seconds, [](const std::string& what) {
    throw std::runtime_error("a timer failed: " + what);
  });
}

BenchServer::~BenchServer() {
  if (plugin_started_) StopPlugin();
  server_.reset();
  std::error_code ignored;
  std::filesystem::current_path(previous_directory_, ignored);
  std::filesystem::remove_all(root_, ignored);
}

void BenchServer::StartPlugin() {
  tinyhorde::InitializePlugin();
  plugin_started_ = true;
}

void BenchServer::StopPlugin() {
  tinyhorde::UnloadPlugin();
  plugin_started_ = false;
}

void BenchServer::DropTimers() {
  auto& clock = server_->Clock();
  while (!clock.Pending().empty()) clock.DropModule(clock.Pending().front().module);
  // The batch of re-applications after a save goes with the timer that would have run it.
  tinyhorde::ForgetPostSaveResizes();
}

}  // namespace bench
