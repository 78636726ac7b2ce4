#include "support/sim_fixture.h"

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <string_view>

#include "base/game_names_check.h"
#include "base/logger.h"
#include "config/load_config.h"
#include "config/plugin_settings.h"
#include "host/services.h"
#include "plugin/lifecycle.h"
#include "scaling/detail_log_budget.h"
#include "scaling/rider_camera.h"

namespace simtest {

namespace {

constexpr const char* kHooksDoNotThrow = R"({"settings": {"HooksDoNotThrow": true}})";

void WriteHostConfig(const std::filesystem::path& root, const std::string& text) {
  const auto file = root / "ShooterGame/Binaries/Win64/config.json";
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

}  // namespace

std::string CriticalLine(const std::string& message) {
  std::string pattern = "\\[API\\]\\[critical\\] ";
  for (char c : message) {
    if (std::string_view("\\^$.|?*+()[]{}").find(c) != std::string_view::npos) pattern += '\\';
    pattern += c;
  }
  return pattern;
}

void SimFixture::SetUp() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tinyhorde-test-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  root_ = pattern;
  previous_directory_ = std::filesystem::current_path();
  if (HooksDoNotThrowAtStart()) WriteHostConfig(root_, kHooksDoNotThrow);
  StartServer();
  std::filesystem::current_path(root_);
  {
    std::lock_guard<std::mutex> lock(tinyhorde::SettingsMutex);
    tinyhorde::PluginSettings = tinyhorde::Settings{};
  }
  tinyhorde::SettingsChanged();
  tinyhorde::ForgetLoadedConfigPathForTests();
  tinyhorde::ClearCameraStoresForTests();
}

// The server, and the plugin's in-process code bound to it: its logger over the server's sinks,
// its game names and the host's settings as a start-up would read them.
void SimFixture::StartServer() {
  server_ = std::make_unique<sim::Server>(sim::ServerOptions{
      root_, TINYHORDE_PLUGIN_FILE, [this](const std::string& line) { output_.push_back(line); }});
  console_ = std::make_unique<sim::Console>(*server_);
  tinyhorde::CreateLogger();
  tinyhorde::StartDetailLineBudget();
  host::ReadHostSettings();
  // What the new server's game has, as a start-up learns it: no name kept from an earlier test.
  tinyhorde::ForgetGameNamesCheckForTests();
  host::CheckGameNames();
  tinyhorde::ResolveGameNames();
}

void SimFixture::StopServer() {
  if (started_in_process_) tinyhorde::UnloadPlugin();
  if (server_->Plugin().Loaded()) server_->Plugin().Unload();
  // What the in-process code held back goes to this server's log, not the next one's.
  tinyhorde::WriteHeldBackCount();
  tinyhorde::LoggerHandle().reset();
  console_.reset();
  server_.reset();
}

void SimFixture::TearDown() {
  StopServer();
  std::filesystem::current_path(previous_directory_);
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void SimFixture::WriteFile(const std::filesystem::path& relative_to_root, const std::string& text) {
  const auto file = root_ / relative_to_root;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

void SimFixture::SetHooksDoNotThrow() {
  RestartServerWithHostConfig(kHooksDoNotThrow);
}

void SimFixture::RestartServerWithHostConfig(const std::string& text) {
  StopServer();
  WriteHostConfig(root_, text);
  StartServer();
}

void SimFixture::KnowUnverifiedNames() {
  for (const host::GameName* name : host::kGameNames)
    if (name->unverified_because != nullptr) server_->Lookup().MakeKnown(name->name);
}

void SimFixture::LoseGameFunction(const std::string& how, const std::string& function) {
  if (how == "forget" && !server_->HooksDoNotThrow())
    throw std::logic_error("forgetting a function needs a host started with HooksDoNotThrow");
  Run("host " + how + " " + function);
  if (how == "forget") tinyhorde::ResolveGameNames();
}

std::vector<std::string> SimFixture::TakeLogLines() {
  std::vector<std::string> lines;
  for (auto& line : server_->Logs().TakeLines()) lines.push_back(line.message);
  return lines;
}

std::vector<std::string> SimFixture::TakeFormattedLogLines() {
  std::vector<std::string> lines;
  for (auto& line : server_->Logs().TakeLines()) lines.push_back(line.formatted);
  return lines;
}

std::vector<std::string> SimFixture::TakeOutput() {
  return std::move(output_);
}

void SimFixture::LoadPlugin() {
  server_->Plugin().Load();
}
void SimFixture::UnloadPlugin() {
  server_->Plugin().Unload();
}

void SimFixture::StartInProcess() {
  tinyhorde::InitializePlugin();
  started_in_process_ = true;
}

std::vector<std::string> SimFixture::Run(const std::string& line) {
  const auto before = output_.size();
  console_->Execute(line);
  return std::vector<std::string>(output_.begin() + static_cast<std::ptrdiff_t>(before),
                                  output_.end());
}

}  // namespace simtest
