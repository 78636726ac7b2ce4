// The rules PluginSettings keeps whatever input the plugin reads, checked after each fuzz input.
#pragma once

#include "config/plugin_settings.h"

namespace fuzzsupport {

// Locked copies and writes of PluginSettings.
tinyhorde::Settings CopySettings();
void ResetSettings(const tinyhorde::Settings& to);

// Fails the run unless after keeps the rules of every setting (config/setting_descriptions.h),
// given that it started as before: every scale (a double field, each value of a scale table)
// strictly between 0.01 and 10, no key of a scale table (CreatureScales) holding an upper-case
// ASCII letter, no key of before missing, and no empty entry in a list that drops them
// (ExcludedBlueprints).
void CheckSettingsRules(const tinyhorde::Settings& before, const tinyhorde::Settings& after);

// Fails the run unless the two records are equal (Settings::operator==).
void CheckSettingsUnchanged(const tinyhorde::Settings& before, const tinyhorde::Settings& after);

}  // namespace fuzzsupport
