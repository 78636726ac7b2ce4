// The rules PluginSettings keeps whatever input the plugin reads, checked after each fuzz input.
#pragma once

#include "config/plugin_settings.h"

namespace fuzzsupport {

// Locked copies and writes of PluginSettings.
tinyhorde::Settings CopySettings();
void ResetSettings(const tinyhorde::Settings& to);

// Fails the run unless after keeps the rules of every setting's kind (config/setting_kinds.h),
// given that it started as before: every scale within the scale bounds, no key of a scale map
// holding an upper-case ASCII letter, no key of before missing, no empty entry in a list that
// drops them.
void CheckSettingsRules(const tinyhorde::Settings& before, const tinyhorde::Settings& after);

// Fails the run unless the two records are equal (Settings::operator==).
void CheckSettingsUnchanged(const tinyhorde::Settings& before, const tinyhorde::Settings& after);

}  // namespace fuzzsupport
