// Reading one setting out of a parsed config.json, by its kind (config/setting_kinds.h). Used
// by LoadConfig for every description in table order; the caller holds whatever lock guards
// settings. Logs the warnings of its kind; throws only what the logger or an allocation throws.
#pragma once

#include <nlohmann/json.hpp>

#include "config/plugin_settings.h"
#include "config/setting_descriptions.h"

namespace tinyhorde {

// Offers root's value under description's key, then under its older name, to its kind, which
// takes the first it can read into settings. A value that is absent or of another JSON type
// leaves the field as it is (a scale with a fallback then takes the fallback's value).
void ReadSetting(const nlohmann::json& root, const SettingDescription& description,
                 Settings& settings);

}  // namespace tinyhorde
