#include "support/settings_rules.h"

#include <mutex>
#include <string>

#include "config/setting_descriptions.h"
#include "support/fuzz_server.h"

namespace fuzzsupport {

using tinyhorde::SettingDescription;
using tinyhorde::Settings;

Settings CopySettings() {
  std::lock_guard<std::mutex> lock(tinyhorde::SettingsMutex);
  return tinyhorde::PluginSettings;
}

void ResetSettings(const Settings& to) {
  {
    std::lock_guard<std::mutex> lock(tinyhorde::SettingsMutex);
    tinyhorde::PluginSettings = to;
  }
  tinyhorde::SettingsChanged();
}

void CheckSettingsRules(const Settings& before, const Settings& after) {
  // Each kind's rules are the plugin's own, written apart from the code that reads a value.
  for (const SettingDescription& description : tinyhorde::SettingDescriptions())
    if (const std::string broken = tinyhorde::SettingRuleBroken(description, before, after);
        !broken.empty())
      Fail(broken);
}

void CheckSettingsUnchanged(const Settings& before, const Settings& after) {
  // Scales compare bitwise equal or not at all: no arithmetic touches a value that is kept.
  if (!(before == after)) Fail("the settings changed although nothing was to change");
}

}  // namespace fuzzsupport
