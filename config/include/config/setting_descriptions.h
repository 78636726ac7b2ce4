// Every setting of config.json, one description each: its key, an older name, its kind (which
// holds the field of Settings it fills, whose initialiser is its default; see
// config/setting_kinds.h), and whether the status line shows it. The table's order is the order
// the settings are loaded in (a scale that falls back on another field comes after it) and the
// order the status line shows them in. Loading (config/load_config.cpp), the status line, the
// example config's test, the install text check and the fuzz rules all read this table, so a
// setting exists everywhere once its description does. The table is constant; any thread may
// read it.
#pragma once

#include <span>
#include <string>

#include "config/plugin_settings.h"
#include "config/setting_kinds.h"

namespace tinyhorde {

struct SettingDescription {
  const char* key;       // the config.json key, and the name of the field
  const char* olderKey;  // read when key gives no value; null when there is none
  SettingKind kind;
  bool inStatus = true;  // shown in the status line as key=value
};

// The settings in the order they are loaded and shown.
std::span<const SettingDescription> SettingDescriptions();

// The value of description's field in settings as the status line shows it, by its kind:
// "true" or "false", a scale with two decimals ("0.50"), a whole number in decimal, a list or
// map by its size ("25").
std::string SettingStatusValue(const SettingDescription& description, const Settings& settings);

// What after breaks of the rules of description's kind, given that it started as before (a map
// keeps every key of before): empty when it keeps them all, else one line saying what. The rules
// are written apart from the reading code, so that a fault there shows here; the fuzz targets
// check them after every input.
std::string SettingRuleBroken(const SettingDescription& description, const Settings& before,
                              const Settings& after);

}  // namespace tinyhorde
