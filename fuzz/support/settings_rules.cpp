#include "support/settings_rules.h"

#include <mutex>
#include <string>
#include <variant>
#include <vector>

#include <fmt/format.h>

#include "config/setting_descriptions.h"
#include "support/fuzz_server.h"

namespace fuzzsupport {

namespace {

using tinyhorde::CreatureScaleTable;
using tinyhorde::SettingDescription;
using tinyhorde::Settings;

// Written apart from the plugin's InScaleRange, so that a fault there shows here.
bool InScaleRange(double value) {
  return value > 0.01 && value < 10.0;
}

void CheckScale(const char* field, const std::string& key, double value) {
  if (!InScaleRange(value))
    Fail(fmt::format("{}{} = {} lies outside the open range 0.01 to 10", field, key, value));
}

// The rules of one setting, by the type of its field (see SettingField).
struct CheckSetting {
  const SettingDescription& description;
  const Settings& before;
  const Settings& after;

  void operator()(bool Settings::*) const {}
  void operator()(std::int32_t Settings::*) const {}
  void operator()(double Settings::*field) const { CheckScale(description.key, "", after.*field); }
  void operator()(CreatureScaleTable Settings::*field) const {
    const std::string prefix = std::string(description.key) + ".";
    for (const auto& [key, value] : after.*field) {
      CheckScale(prefix.c_str(), key, value);
      for (const char c : key)
        if (c >= 'A' && c <= 'Z')
          Fail(fmt::format("{} key '{}' is not lower case", description.key, key));
    }
    for (const auto& entry : before.*field)
      if ((after.*field).count(entry.first) == 0)
        Fail(fmt::format("{} lost its entry '{}'", description.key, entry.first));
  }
  void operator()(std::vector<std::string> Settings::*field) const {
    if (description.emptyEntryWarning == nullptr) return;
    for (const std::string& entry : after.*field)
      if (entry.empty())
        Fail(fmt::format("{} holds an empty entry, which would exclude everything",
                         description.key));
  }
};

}  // namespace

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
  for (const SettingDescription& description : tinyhorde::SettingDescriptions())
    std::visit(CheckSetting{description, before, after}, description.field);
}

void CheckSettingsUnchanged(const Settings& before, const Settings& after) {
  // Scales compare bitwise equal or not at all: no arithmetic touches a value that is kept.
  if (!(before == after)) Fail("the settings changed although nothing was to change");
}

}  // namespace fuzzsupport
