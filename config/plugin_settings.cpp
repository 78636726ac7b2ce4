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
}  // namespace

std::uint64_t SettingsGeneration() {
  return generation.load(std::memory_order_acquire);
}

void SettingsChanged() {
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

bool ReadOnlyTamed() {
  std::lock_guard lock(SettingsMutex);
  return PluginSettings.OnlyTamed;
}

bool ReadDebugLog() {
  std::lock_guard lock(SettingsMutex);
  return PluginSettings.DebugLog;
}

}  // namespace tinyhorde
