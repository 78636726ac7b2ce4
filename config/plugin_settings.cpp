#include "config/plugin_settings.h"

#include <atomic>

namespace tinyhorde {

bool LongestKeyFirst::operator()(const std::string& a, const std::string& b) const {
  if (a.size() != b.size()) return a.size() > b.size();
  return a < b;
}

Settings PluginSettings;
std::mutex SettingsMutex;

namespace {
std::atomic<std::uint64_t> generation{0};
// Copies of the two switches read on every creature event, taken at each settings write.
std::atomic<bool> only_tamed{Settings{}.OnlyTamed};
std::atomic<bool> debug_log{Settings{}.DebugLog};
}  // namespace

std::uint64_t SettingsGeneration() {
  return generation.load(std::memory_order_acquire);
}

void SettingsChanged() {
  {
    std::lock_guard lock(SettingsMutex);
    only_tamed.store(PluginSettings.OnlyTamed, std::memory_order_relaxed);
    debug_log.store(PluginSettings.DebugLog, std::memory_order_relaxed);
  }
  generation.fetch_add(1, std::memory_order_acq_rel);
}

std::string LowerBytes(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

void SetGlobalScale(double value) {
  {
    std::lock_guard lock(SettingsMutex);
    PluginSettings.DefaultScale = value;
    PluginSettings.DefaultCameraArmScale = value;
  }
  SettingsChanged();
}

void SetCreatureScale(const std::string& name, double value) {
  std::string key = LowerBytes(name);
  {
    std::lock_guard lock(SettingsMutex);
    PluginSettings.CreatureScales[std::move(key)] = value;
  }
  SettingsChanged();
}

std::size_t CreatureScaleCount() {
  std::lock_guard lock(SettingsMutex);
  return PluginSettings.CreatureScales.size();
}

std::string ExcludingEntry(const std::string& name) {
  const std::string lowered = LowerBytes(name);
  std::lock_guard lock(SettingsMutex);
  for (const std::string& entry : PluginSettings.ExcludedBlueprints) {
    if (!entry.empty() && lowered.find(LowerBytes(entry)) != std::string::npos) return entry;
  }
  return {};
}

bool OnlyTamedSetting() {
  return only_tamed.load(std::memory_order_relaxed);
}

bool DebugLogSetting() {
  return debug_log.load(std::memory_order_relaxed);
}

}  // namespace tinyhorde
