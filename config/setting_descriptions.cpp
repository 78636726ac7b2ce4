// The settings of config.json, one description each (see config/setting_descriptions.h). A new
// setting is its field in Settings (config/plugin_settings.h, with its default) and a row here.
#include "config/setting_descriptions.h"

#include <fmt/format.h>

namespace tinyhorde {

namespace {

constexpr SettingDescription kSettings[] = {
    {"OnlyTamed", nullptr, &Settings::OnlyTamed},
    {"DefaultScale", "Scale", &Settings::DefaultScale},
    {"DefaultCameraArmScale", "CameraArmScale", &Settings::DefaultCameraArmScale,
     &Settings::DefaultScale},
    {"CreatureScales", nullptr, &Settings::CreatureScales},
    {"TargetBlueprints", nullptr, &Settings::TargetBlueprints},
    {"ExcludedBlueprints", nullptr, &Settings::ExcludedBlueprints, nullptr,
     "[Tinyhorde] Ignoring an empty ExcludedBlueprints entry: it would exclude every creature."},
    {"ApplyDelaySeconds", nullptr, &Settings::ApplyDelaySeconds, nullptr, nullptr, false},
    {"DebugLog", nullptr, &Settings::DebugLog},
};

struct StatusValue {
  const Settings& settings;
  std::string operator()(bool Settings::*field) const { return settings.*field ? "true" : "false"; }
  std::string operator()(double Settings::*field) const {
    return fmt::format("{:.2f}", settings.*field);
  }
  std::string operator()(std::int32_t Settings::*field) const {
    return fmt::format("{}", settings.*field);
  }
  template <typename Container>
  std::string operator()(Container Settings::*field) const {
    return fmt::format("{}", (settings.*field).size());
  }
};

}  // namespace

std::span<const SettingDescription> SettingDescriptions() {
  return kSettings;
}

std::string SettingStatusValue(const SettingDescription& description, const Settings& settings) {
  return std::visit(StatusValue{settings}, description.field);
}

}  // namespace tinyhorde
