#include "support/sim_fixture.h"

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string_view>

#include "base/logger.h"
#include "config/plugin_settings.h"
#include "plugin/lifecycle.h"
#include "scaling/rider_camera.h"

namespace simtest {

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
  server_ = std::make_unique<sim::Server>(sim::ServerOptions{
      root_, TINYHORDE_PLUGIN_FILE, [this](const std::string& line) { output_.push_back(line); }});
  console_ = std::make_unique<sim::Console>(*server_);
  std::filesystem::current_path(root_);
  {
    std::lock_guard<std::mutex> lock(tinyhorde::SettingsMutex);
    tinyhorde::PluginSettings = tinyhorde::Settings{};
  }
  tinyhorde::SettingsChanged();
  tinyhorde::ClearCameraStores();
  tinyhorde::CreateLogger();
  tinyhorde::ResolveGameNames();
}

void SimFixture::TearDown() {
  if (started_in_process_) tinyhorde::UnloadPlugin();
  if (server_->Plugin().Loaded()) server_->Plugin().Unload();
  tinyhorde::LoggerHandle().reset();
  console_.reset();
  server_.reset();
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
  WriteFile("ShooterGame/Binaries/Win64/config.json", R"({"settings": {"HooksDoNotThrow": true}})");
}

void SimFixture::LoseGameFunction(const std::string& how, const std::string& function) {
  if (how == "forget") SetHooksDoNotThrow();
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
