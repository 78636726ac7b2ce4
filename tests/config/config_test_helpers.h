// Shared by the config tests: locked access to PluginSettings from the test's side, a record
// that differs from the defaults everywhere, and a whole-record comparison.
#pragma once

#include "config/plugin_settings.h"

namespace configtest {

// A copy of PluginSettings, taken under SettingsMutex.
tinyhorde::Settings CurrentSettings();
// Replaces PluginSettings under SettingsMutex.
void StoreSettings(const tinyhorde::Settings& settings);
// Differs from Settings{} in every field, so that a field a load must leave alone shows it
// when it moves.
tinyhorde::Settings NonDefaultSettings();
// Whether another thread could take SettingsMutex just now. Asked from a second thread, since
// try_lock on a mutex the caller holds is undefined.
bool SettingsLockIsFree();
// The whole record (Settings::operator==), and each described field by its key.
void ExpectSameSettings(const tinyhorde::Settings& expected, const tinyhorde::Settings& actual);

}  // namespace configtest
