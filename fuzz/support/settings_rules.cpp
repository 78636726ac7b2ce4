#include "support/settings_rules.h"

#include <mutex>
#include <string>

#include <fmt/format.h>

#include "support/fuzz_server.h"

namespace fuzzsupport {

namespace {

bool InScaleRange(double value) {
  return value > 0.01 && value < 10.0;
}

void CheckScale(const char* field, const std::string& key, double value) {
  if (!InScaleRange(value))
    Fail(fmt::format("{}{} = {} lies outside the open range 0.01 to 10", field, key, value));
}

}  // namespace

tinyhorde::Settings CopySettings() {
  std::lock_guard<std::mutex> lock(tinyhorde::SettingsMutex);
  return tinyhorde::PluginSettings;
}

void ResetSettings(const tinyhorde::Settings& to) {
  {
    std::lock_guard<std::mutex> lock(tinyhorde::SettingsMutex);
    tinyhorde::PluginSettings = to;
  }
  tinyhorde::SettingsChanged();
}

void CheckSettingsRules(const tinyhorde::Settings& before, const tinyhorde::Settings& after) {
  CheckScale("DefaultScale", "", after.DefaultScale);
  CheckScale("DefaultCameraArmScale", "", after.DefaultCameraArmScale);
  for (const auto& [key, value] : after.CreatureScales) {
    CheckScale("CreatureScales.", key, value);
    for (const char c : key)
      if (c >= 'A' && c <= 'Z') Fail("CreatureScales key '" + key + "' is not lower case");
  }
  for (const std::string& entry : after.ExcludedBlueprints)
    if (entry.empty())
      Fail("ExcludedBlueprints holds an empty entry, which would exclude everything");
  for (const auto& entry : before.CreatureScales)
    if (after.CreatureScales.count(entry.first) == 0)
      Fail("CreatureScales lost its entry '" + entry.first + "'");
}

void CheckSettingsUnchanged(const tinyhorde::Settings& before, const tinyhorde::Settings& after) {
  // Scales compare bitwise equal or not at all: no arithmetic touches a value that is kept.
  const bool same =
      before.OnlyTamed == after.OnlyTamed && before.DefaultScale == after.DefaultScale &&
      before.DefaultCameraArmScale == after.DefaultCameraArmScale &&
      before.CreatureScales == after.CreatureScales &&
      before.TargetBlueprints == after.TargetBlueprints &&
      before.ExcludedBlueprints == after.ExcludedBlueprints &&
      before.ApplyDelaySeconds == after.ApplyDelaySeconds && before.DebugLog == after.DebugLog;
  if (!same) Fail("the settings changed although nothing was to change");
}

}  // namespace fuzzsupport
