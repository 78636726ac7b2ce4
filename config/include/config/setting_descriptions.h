// Every setting of config.json, one description each: its key, an older name, the field of
// Settings it fills (whose type is the setting's type and whose initialiser is its default), the
// rules a value must keep, and whether the status line shows it. Loading (config/load_config.cpp),
// the status line, the example config's test, the install text check and the fuzz rules all read
// this table, so a setting exists everywhere once its description does. The table is constant;
// any thread may read it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "config/plugin_settings.h"

namespace tinyhorde {

// The field a setting fills. How the file's value is read follows from its type:
//   bool                      a JSON boolean;
//   double                    a scale: a number within InScaleRange, else a warning and no value;
//   std::int32_t              a JSON integer, of which the low 32 bits are kept;
//   CreatureScaleTable        an object whose members are scales, merged in under lowered names;
//   std::vector<std::string>  an array whose strings replace the whole list.
// A value that is absent or of another JSON type leaves the field as it is.
using SettingField =
    std::variant<bool Settings::*, double Settings::*, std::int32_t Settings::*,
                 CreatureScaleTable Settings::*, std::vector<std::string> Settings::*>;

struct SettingDescription {
  const char* key;       // the config.json key, and the name of the field
  const char* olderKey;  // read when key gives no value; null when there is none
  SettingField field;
  // A scale that neither name gives takes this field's value, as loaded just before (it comes
  // earlier in the table); null: the field keeps its value.
  double Settings::*otherwise = nullptr;
  // A list drops empty strings, logging this warning for each; null: empty strings are kept.
  const char* emptyEntryWarning = nullptr;
  bool inStatus = true;  // shown in the status line as key=value
};

// The settings in the order they are loaded and shown.
std::span<const SettingDescription> SettingDescriptions();

// The value of description's field in settings as the status line shows it: "true" or "false",
// a scale with two decimals ("0.50"), an integer in decimal, a table or list by its size ("25").
std::string SettingStatusValue(const SettingDescription& description, const Settings& settings);

}  // namespace tinyhorde
