#include "config/load_config.h"

#include <cerrno>
#include <cstdint>
#include <fstream>
#include <mutex>
#include <optional>
#include <system_error>
#include <utility>
#include <variant>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "base/logger.h"
#include "config/number_text.h"
#include "config/plugin_settings.h"
#include "config/setting_descriptions.h"
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

// A scale from the file: nothing when the value is not a number, or (with a warning naming
// shownKey) when it lies outside the accepted range.
std::optional<double> ScaleValue(const json& value, const std::string& shownKey) {
  if (!value.is_number()) return std::nullopt;
  const double scale = value.get<double>();
  if (!InScaleRange(scale)) {
    LogWarning(fmt::format("[Tinyhorde] Ignoring {} = {}: a scale must lie between 0.01 and 10.",
                           shownKey, ShortestNumberText(scale)));
    return std::nullopt;
  }
  return scale;
}

// Offers the value under description's key, then under its older name, to read(value, name),
// which answers whether it took the value; stops at the first taken. Answers whether one was.
template <typename Read>
bool ReadEitherName(const json& root, const SettingDescription& description, Read read) {
  for (const char* name : {description.key, description.olderKey}) {
    if (name == nullptr) continue;
    const auto it = root.find(name);
    if (it != root.end() && read(*it, std::string(name))) return true;
  }
  return false;
}

// Reads one setting of the document into settings, by the type of its field (see SettingField).
struct ReadSetting {
  const json& root;
  const SettingDescription& description;
  Settings& settings;

  template <typename Read>
  bool Either(Read read) const {
    return ReadEitherName(root, description, read);
  }

  void operator()(bool Settings::*field) const {
    Either([&](const json& value, const std::string&) {
      if (!value.is_boolean()) return false;
      settings.*field = value.get<bool>();
      return true;
    });
  }

  void operator()(double Settings::*field) const {
    const bool given = Either([&](const json& value, const std::string& name) {
      const std::optional<double> scale = ScaleValue(value, name);
      if (scale) settings.*field = *scale;
      return scale.has_value();
    });
    if (!given && description.otherwise != nullptr)
      settings.*field = settings.*description.otherwise;
  }

  void operator()(std::int32_t Settings::*field) const {
    Either([&](const json& value, const std::string&) {
      if (!value.is_number_integer()) return false;
      const std::uint64_t raw = value.is_number_unsigned()
                                    ? value.get<std::uint64_t>()
                                    : static_cast<std::uint64_t>(value.get<std::int64_t>());
      settings.*field = static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
      return true;
    });
  }

  // The object's members come in ascending byte order of their names, so of two names that
  // lower to the same key the later one in that order wins.
  void operator()(CreatureScaleTable Settings::*field) const {
    Either([&](const json& value, const std::string& name) {
      if (!value.is_object()) return false;
      for (const auto& [member, scale] : value.items()) {
        if (const auto taken = ScaleValue(scale, name + "." + member))
          (settings.*field)[LowerBytes(member)] = *taken;
      }
      return true;
    });
  }

  void operator()(std::vector<std::string> Settings::*field) const {
    Either([&](const json& value, const std::string&) {
      if (!value.is_array()) return false;
      std::vector<std::string>& list = settings.*field;
      list.clear();
      for (const json& element : value) {
        if (!element.is_string()) continue;
        std::string entry = element.get<std::string>();
        if (entry.empty() && description.emptyEntryWarning != nullptr) {
          LogWarning(description.emptyEntryWarning);
          continue;
        }
        list.push_back(std::move(entry));
      }
      return true;
    });
  }
};

// Merges the values of a parsed document into settings, setting by setting in the order of
// SettingDescriptions. A key that is absent or of another type leaves its field unchanged; a root
// that is not an object counts as an empty one.
void ApplyDocument(const json& document, Settings& settings) {
  const json empty = json::object();
  const json& root = document.is_object() ? document : empty;
  for (const SettingDescription& description : SettingDescriptions())
    std::visit(ReadSetting{root, description, settings}, description.field);
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
