// The kinds of setting config.json holds, one type each. A setting's description
// (config/setting_descriptions.h) names its kind, which holds the field of Settings it fills and
// the kind's own parameters. The kind alone says how the file's value is read, how the status
// line shows it and which rules every value keeps: config/setting_kinds.cpp, one section per
// kind, serves loading, the status line and the fuzz targets' rules alike. A new kind is a type
// here and its section there; the variant below does not compile without all three of its
// functions. Constant data; any thread may read it.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "config/plugin_settings.h"

namespace tinyhorde {

// A switch: a JSON boolean. Shown "true" or "false".
struct FlagSetting {
  bool Settings::*field;
};

// A scale: a JSON number within InScaleRange; another number is ignored with the warning
// "[Tinyhorde] Ignoring <name> = <value>: a scale must lie between <kMinScale> and <kMaxScale>.".
// When neither name gives one, a scale with otherwise takes that field's value, as loaded just
// before (it comes earlier in the table); without, it keeps its value. Shown with two decimals
// ("0.50"). Rule: within InScaleRange.
struct ScaleSetting {
  double Settings::*field;
  double Settings::*otherwise = nullptr;
};

// A number with limits of its own, both included: a JSON number from lowest to highest; another
// number is ignored with the warning "[Tinyhorde] Ignoring <name> = <value>: it must lie from
// <lowest> to <highest>.". Shown as its shortest text ("2.5", "10"). Rule: within its limits.
struct BoundSetting {
  double Settings::*field;
  double lowest;
  double highest;
};

// A whole number: a JSON integer, of which the low 32 bits are kept. Shown in decimal.
struct WholeNumberSetting {
  std::int32_t Settings::*field;
};

// A list of texts: a JSON array whose strings replace the whole list (other elements are
// skipped). With emptyEntryWarning, an empty string is dropped and that warning logged for each;
// without, it is kept. Shown by its size ("21"). Rule: no empty entry when they are dropped.
struct ListSetting {
  std::vector<std::string> Settings::*field;
  const char* emptyEntryWarning = nullptr;
};

// Names to scales: a JSON object whose members are scales (as ScaleSetting reads one, the
// warning naming "<key>.<member>"), merged in under their lowered names. Shown by its size
// ("25"). Rules: every value a scale, no key with an upper-case ASCII letter, no key lost.
struct ScaleMapSetting {
  CreatureScaleTable Settings::*field;
};

using SettingKind = std::variant<FlagSetting, ScaleSetting, BoundSetting, WholeNumberSetting,
                                 ListSetting, ScaleMapSetting>;

}  // namespace tinyhorde
