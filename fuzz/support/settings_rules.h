// The rules PluginSettings keeps whatever input the plugin reads, checked after each fuzz input.
#pragma once

#include "config/plugin_settings.h"

namespace fuzzsupport {

// Locked copies and writes of PluginSettings.
tinyhorde::Settings CopySettings();
void ResetSettings(const tinyhorde::Settings& to);

// Fails the run unless after keeps the rules, given that it started as before: every scale
// (DefaultScale, DefaultCameraArmScale, each CreatureScales value) strictly between 0.01 and 10,
// no key of CreatureScales holding an upper-case ASCII letter, no key of before missing, and no
// empty ExcludedBlueprints entry.
void CheckSettingsRules(const tinyhorde::Settings& before, const tinyhorde::Settings& after);

// Fails the run unless the two records are equal field by field.
void CheckSettingsUnchanged(const tinyhorde::Settings& before, const tinyhorde::Settings& after);

}  // namespace fuzzsupport
