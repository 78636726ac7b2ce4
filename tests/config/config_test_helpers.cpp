#include "config_test_helpers.h"

#include <mutex>
#include <thread>
#include <variant>

#include <gtest/gtest.h>

#include "config/setting_descriptions.h"

namespace configtest {

using tinyhorde::Settings;

Settings CurrentSettings() {
  std::lock_guard lock(tinyhorde::SettingsMutex);
  return tinyhorde::PluginSettings;
}

void StoreSettings(const Settings& settings) {
  {
    std::lock_guard lock(tinyhorde::SettingsMutex);
    tinyhorde::PluginSettings = settings;
  }
  tinyhorde::SettingsChanged();
}

Settings NonDefaultSettings() {
  Settings settings;
  settings.OnlyTamed = false;
  settings.DefaultScale = 0.3;
  settings.DefaultCameraArmScale = 0.9;
  settings.CreatureScales["rex"] = 0.35;
  settings.CreatureScales["giga"] = 0.6;
  settings.TargetBlueprints = {"Rex_Character_BP"};
  settings.ExcludedBlueprints = {"Rex_Character_BP_Tek"};
  settings.ApplyDelaySeconds = 3;
  settings.DebugLog = false;
  return settings;
}

bool SettingsLockIsFree() {
  bool free = false;
  std::thread probe([&free] {
    free = tinyhorde::SettingsMutex.try_lock();
    if (free) tinyhorde::SettingsMutex.unlock();
  });
  probe.join();
  return free;
}

void ExpectSameSettings(const Settings& expected, const Settings& actual) {
  EXPECT_TRUE(expected == actual);
  // Which field differs, by its key.
  for (const tinyhorde::SettingDescription& description : tinyhorde::SettingDescriptions()) {
    std::visit(
        [&](const auto& kind) {
          EXPECT_TRUE(expected.*kind.field == actual.*kind.field) << description.key;
        },
        description.kind);
  }
}

}  // namespace configtest
