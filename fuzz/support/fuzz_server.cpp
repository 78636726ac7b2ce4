#include "support/fuzz_server.h"

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <system_error>
#include <vector>

#include <spdlog/sinks/basic_file_sink.h>

#include "base/logger.h"
#include "config/plugin_settings.h"
#include "plugin/lifecycle.h"

namespace fuzzsupport {

namespace {

namespace fs = std::filesystem;

FuzzServer* instance = nullptr;

// The end of the line a command adds when it put creatures back to full size.
constexpr const char* kRestoredMessageEnd = " creature(s) that the settings no longer shrink.";
// The start of the line a setscale adds when ExcludedBlueprints excludes the name it set.
constexpr const char* kExcludedNoteStart = "\"[Tinyhorde] ExcludedBlueprints excludes ";

bool StartsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

}  // namespace

void Fail(const std::string& what) {
  std::fprintf(stderr, "\n==fuzz== FAILED: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

void CheckServerState(FuzzServer& server, std::size_t live_before) {
  const std::size_t live = server.LiveBlocks();
  if (live != live_before)
    Fail("game allocator: " + std::to_string(live) + " live block(s) where " +
         std::to_string(live_before) + " were before");
  if (server.BadFrees() != 0) Fail("game allocator: a free of a block it does not hold");
  if (server.Errors() != 0) Fail("the simulated server reported an error");
}

void CheckAnswered(FuzzServer& server, std::size_t expected, const std::string& what) {
  const std::size_t restored = server.RestoredMessagesSent();
  const std::size_t notes = server.ExcludedNotesSent();
  const std::size_t answers = server.MessagesSent() - restored - notes;
  if (answers != expected)
    Fail(what + " answered " + std::to_string(answers) + " message(s), not " +
         std::to_string(expected));
  if (restored > answers)
    Fail(what + " sent " + std::to_string(restored) + " restored-creatures line(s) after " +
         std::to_string(answers) + " answer(s)");
  if (notes > answers)
    Fail(what + " sent " + std::to_string(notes) + " excluded-name line(s) after " +
         std::to_string(answers) + " answer(s)");
}

FuzzServer& FuzzServer::Instance() {
  // Never deleted: the exit handler takes the server down, and the object itself stays valid
  // for whatever still runs after it.
  if (instance == nullptr) instance = new FuzzServer();
  return *instance;
}

FuzzServer::FuzzServer() {
  std::string pattern = (fs::temp_directory_path() / "tinyhorde-fuzz-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) Fail("cannot make a server root under " + pattern);
  root_ = pattern;
  previous_directory_ = fs::current_path().string();
  server_ = std::make_unique<sim::Server>(
      sim::ServerOptions{root_, fs::path(), [this](const std::string& line) {
                           if (StartsWith(line, "msg ")) {
                             ++messages_;
                             if (line.find(kRestoredMessageEnd) != std::string::npos)
                               ++restored_messages_;
                             if (line.find(kExcludedNoteStart) != std::string::npos)
                               ++excluded_notes_;
                           }
                           if (StartsWith(line, "error")) ++errors_;
                         }});
  console_ = std::make_unique<sim::Console>(*server_);
  fs::current_path(root_);

  // The host's log file would grow with every input; the plugin logs to the other sinks.
  auto& sinks = server_->Logs().Sinks();
  std::erase_if(sinks, [](const spdlog::sink_ptr& sink) {
    return std::dynamic_pointer_cast<spdlog::sinks::basic_file_sink_mt>(sink) != nullptr;
  });

  tinyhorde::InitializePlugin();
  {
    // The per-creature detail lines only cost time here.
    std::lock_guard<std::mutex> lock(tinyhorde::SettingsMutex);
    tinyhorde::PluginSettings.DebugLog = false;
  }
  tinyhorde::SettingsChanged();
  Setup("player Ada admin");  // kAdmin
  Setup("player Bo");         // kPlayer
  Setup("spawn Dreadnoughtus_Character_BP_C tamed 1");
  Setup("spawn Gigant_Character_BP_C");
  Setup("spawn Mosa_Character_BP_C tamed 2");
  Setup("spawn Raptor_Character_BP_C tamed 1");
  Setup("spawn Gigantoraptor_Character_BP_C tamed 1");  // excluded by the defaults
  Setup("ride 3 1");
  Setup("wait 5");  // the delayed re-applications of the spawns have run
  ClearOutput();
  std::atexit(&FuzzServer::TearDown);
}

void FuzzServer::Setup(const std::string& line) {
  const std::size_t errors = errors_;
  console_->Execute(line);
  if (errors_ != errors) Fail("the simulated server refused the set-up line '" + line + "'");
}

void* FuzzServer::Controller(int player) const {
  return player == 0 ? nullptr : server_->GameWorld().PlayerById(player).controller;
}

void FuzzServer::ClearOutput() {
  messages_ = 0;
  restored_messages_ = 0;
  excluded_notes_ = 0;
  errors_ = 0;
  server_->Logs().TakeLines();
  server_->GameWorld().ClearCalls();
}

void FuzzServer::TearDown() {
  if (instance == nullptr || instance->server_ == nullptr) return;
  tinyhorde::UnloadPlugin();
  tinyhorde::LoggerHandle().reset();
  instance->console_.reset();
  instance->server_.reset();
  std::error_code ignored;
  fs::current_path(instance->previous_directory_, ignored);
  fs::remove_all(instance->root_, ignored);
}

}  // namespace fuzzsupport
