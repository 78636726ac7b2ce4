// The settings of config.json, one description each (see config/setting_descriptions.h). A new
// setting is its field in Settings (config/plugin_settings.h, with its default) and a row here,
// naming its kind (config/setting_kinds.h); the row's place is its place in the loading order
// and in the status line.
#include "config/setting_descriptions.h"

namespace tinyhorde {

namespace {

constexpr SettingDescription kSettings[] = {
    {"OnlyTamed", nullptr, FlagSetting{&Settings::OnlyTamed}},
    {"DefaultScale", "Scale", ScaleSetting{&Settings::DefaultScale}},
    {"DefaultCameraArmScale", "CameraArmScale",
     ScaleSetting{&Settings::DefaultCameraArmScale, &Settings::DefaultScale}},
    {"CreatureScales", nullptr, ScaleMapSetting{&Settings::CreatureScales}},
    {"TargetBlueprints", nullptr, ListSetting{&Settings::TargetBlueprints}},
    {"ExcludedBlueprints", nullptr,
     ListSetting{&Settings::ExcludedBlueprints,
                 "[Tinyhorde] Ignoring an empty ExcludedBlueprints entry: it would exclude every "
                 "creature."}},
    {"ApplyDelaySeconds", nullptr, WholeNumberSetting{&Settings::ApplyDelaySeconds}, false},
    {"DebugLog", nullptr, FlagSetting{&Settings::DebugLog}},
};

}  // namespace

std::span<const SettingDescription> SettingDescriptions() {
  return kSettings;
}

}  // namespace tinyhorde
