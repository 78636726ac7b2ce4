#include "config/plugin_settings.h"

namespace tinyhorde {

bool LongestKeyFirst::operator()(const std::string& a, const std::string& b) const {
  if (a.size() != b.size()) return a.size() > b.size();
  return a < b;
}

Settings PluginSettings;
std::mutex SettingsMutex;

std::string LowerBytes(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

void SetGlobalScale(double value) {
  std::lock_guard lock(SettingsMutex);
  PluginSettings.DefaultScale = value;
  PluginSettings.DefaultCameraArmScale = value;
}

void SetCreatureScale(const std::string& name, double value) {
  std::string key = LowerBytes(name);
  std::lock_guard lock(SettingsMutex);
  PluginSettings.CreatureScales[std::move(key)] = value;
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
