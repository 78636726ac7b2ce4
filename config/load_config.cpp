#include "config/load_config.h"

#include <cerrno>
#include <fstream>
#include <mutex>
#include <optional>
#include <system_error>
#include <utility>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "base/logger.h"
#include "config/plugin_settings.h"
#include "config/setting_descriptions.h"
#include "config/setting_reading.h"
#include "host/services.h"
#include "host/types.h"

namespace tinyhorde {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// A probe failing with one of these means the candidate simply is not there.
bool MeansAbsent(const std::error_code& ec) {
  return ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory ||
         ec == std::errc::filename_too_long || ec == std::errc::invalid_argument;
}

// Merges the values of a parsed document into settings, setting by setting in the order of
// SettingDescriptions. A key that is absent or of another type leaves its field unchanged; a root
// that is not an object counts as an empty one.
void ApplyDocument(const json& document, Settings& settings) {
  const json empty = json::object();
  const json& root = document.is_object() ? document : empty;
  for (const SettingDescription& description : SettingDescriptions())
    ReadSetting(root, description, settings);
}

// The file the settings were last loaded from; guarded by SettingsMutex.
std::string& LoadedPath() {
  static std::string path;
  return path;
}

// Writes the error line; a failure to write it must not leave LoadConfig.
void ReportError(const std::string& message) {
  try {
    LogError(fmt::format("[Tinyhorde] Exception loading config: {}", message));
  } catch (...) {
  }
}

// The whole load, with SettingsMutex held. Fills outcome as it goes, so that the caller still
// knows the chosen path when an exception leaves here.
void LoadLocked(ConfigLoadOutcome& outcome) {
  std::optional<fs::path> chosen;
  fs::file_status chosenStatus;
  for (const fs::path& candidate : ConfigCandidates()) {
    std::error_code ec;
    const fs::file_status status = fs::status(candidate, ec);
    if (ec && MeansAbsent(ec)) continue;
    if (ec) {
      outcome = {ConfigLoadStatus::CannotOpen, candidate.string(),
                 fmt::format("cannot access {}: {}", candidate.string(), ec.message())};
      ReportError(outcome.message);
      return;
    }
    if (status.type() == fs::file_type::not_found) continue;
    chosen = candidate;
    chosenStatus = status;
    break;
  }

  if (!chosen) {
    outcome = {ConfigLoadStatus::NotFound, {}, {}};
    LogWarning("[Tinyhorde] config.json not found, using default Rex-scaling values.");
    return;
  }
  const std::string path = chosen->string();
  outcome.path = path;

  // An ifstream opens a directory on Linux and only fails on the first read.
  std::string openError;
  std::ifstream in;
  if (fs::is_directory(chosenStatus)) {
    openError = fmt::format("cannot open {}: is a directory", path);
  } else {
    errno = 0;
    in.open(*chosen);
    const int error = errno;
    if (!in.is_open()) {
      openError = error != 0 ? fmt::format("cannot open {}: {}", path,
                                           std::generic_category().message(error))
                             : fmt::format("cannot open {}", path);
    }
  }
  if (!openError.empty()) {
    outcome = {ConfigLoadStatus::CannotOpen, path, openError};
    ReportError(openError);
    return;
  }

  // A parse error throws and is reported by LoadConfig; nothing has been changed by then.
  const json document = json::parse(in);
  Settings next = PluginSettings;
  ApplyDocument(document, next);
  PluginSettings = std::move(next);

  outcome = {ConfigLoadStatus::Loaded, path, {}};
  LoadedPath() = path;
  LogInfo(fmt::format(
      "[Tinyhorde] Config loaded from {}. OnlyTamed: {}, CreatureScales count: {}, Delay: {}s",
      path, PluginSettings.OnlyTamed, PluginSettings.CreatureScales.size(),
      PluginSettings.ApplyDelaySeconds));
}

}  // namespace

std::string LastLoadedConfigPath() {
  const std::lock_guard lock(SettingsMutex);
  return LoadedPath();
}

void ForgetLoadedConfigPathForTests() {
  const std::lock_guard lock(SettingsMutex);
  LoadedPath().clear();
}

std::vector<fs::path> ConfigCandidates() {
  std::vector<fs::path> candidates;
  const std::string module = host::ToUtf8(host::GetPluginModulePath());
  const fs::path folder = fs::path(std::u8string(module.begin(), module.end())).parent_path();
  if (!folder.empty()) candidates.push_back(folder / "config.json");
  for (const char* relative : {
           "ArkApi/Plugins/Tinyhorde/config.json",
           "AsaApi/Plugins/Tinyhorde/config.json",
           "ShooterGame/Binaries/Win64/ArkApi/Plugins/Tinyhorde/config.json",
           "ShooterGame/Binaries/Win64/AsaApi/Plugins/Tinyhorde/config.json",
           "ArkApi/Plugins/Giantfit/config.json",
           "AsaApi/Plugins/Giantfit/config.json",
       }) {
    candidates.emplace_back(relative);
  }
  return candidates;
}

ConfigLoadOutcome LoadConfig() {
  ConfigLoadOutcome outcome{ConfigLoadStatus::Failed, {}, {}};
  std::unique_lock lock(SettingsMutex, std::defer_lock);
  try {
    lock.lock();
    LoadLocked(outcome);
  } catch (const std::exception& e) {
    outcome.status = ConfigLoadStatus::Failed;
    outcome.message = e.what();
    ReportError(outcome.message);
  } catch (...) {
    outcome.status = ConfigLoadStatus::Failed;
    outcome.message = "unknown error";
    ReportError(outcome.message);
  }
  if (lock.owns_lock()) lock.unlock();
  if (outcome.status == ConfigLoadStatus::Loaded) SettingsChanged();
  return outcome;
}

}  // namespace tinyhorde
