// The settings' descriptions against the places that must follow them and were not made from
// them (the record's fields, the test helper that differs from the defaults everywhere), and
// each kind's status text and rules at their edges. A description
// added to config/setting_descriptions.cpp fails here, naming itself, until each place has it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <variant>
#include <vector>

#include "config/setting_descriptions.h"
#include "config_test_helpers.h"

namespace {

using tinyhorde::BoundSetting;
using tinyhorde::FlagSetting;
using tinyhorde::ScaleSetting;
using tinyhorde::SettingDescription;
using tinyhorde::SettingDescriptions;
using tinyhorde::Settings;
using tinyhorde::SettingStatusValue;

// Whether two records hold the same value in description's field.
bool SameField(const SettingDescription& description, const Settings& a, const Settings& b) {
  return std::visit([&](const auto& kind) { return a.*kind.field == b.*kind.field; },
                    description.kind);
}

TEST(SettingDescriptions, NamesAreDistinctCapitalisedWords) {
  std::vector<std::string> names;
  for (const SettingDescription& description : SettingDescriptions()) {
    names.push_back(description.key);
    if (description.olderKey != nullptr) names.push_back(description.olderKey);
  }
  for (const std::string& name : names) {
    // A key is written as the name of its field.
    EXPECT_TRUE(
        !name.empty() && name[0] >= 'A' && name[0] <= 'Z' &&
        std::all_of(name.begin(), name.end(),
                    [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }))
        << name;
    EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;
  }
}

TEST(SettingDescriptions, AFallbackFieldIsLoadedBeforeTheScaleThatTakesIt) {
  const auto descriptions = SettingDescriptions();
  for (std::size_t i = 0; i < descriptions.size(); ++i) {
    const auto* scale = std::get_if<ScaleSetting>(&descriptions[i].kind);
    if (scale == nullptr || scale->otherwise == nullptr) continue;
    const auto earlier = std::find_if(descriptions.begin(), descriptions.begin() + i,
                                      [&](const SettingDescription& d) {
                                        const auto* other = std::get_if<ScaleSetting>(&d.kind);
                                        return other != nullptr && other->field == scale->otherwise;
                                      });
    EXPECT_NE(earlier, descriptions.begin() + i) << descriptions[i].key;
  }
}

// A new field of Settings gets a description, or this record shows it: every described field set
// apart from the defaults must make the whole record differ from them, and nothing else may.
TEST(SettingDescriptions, CoverEveryFieldOfTheRecord) {
  const Settings defaults;
  const Settings changed = configtest::NonDefaultSettings();
  Settings copied = defaults;
  for (const SettingDescription& description : SettingDescriptions()) {
    EXPECT_FALSE(SameField(description, defaults, changed))
        << description.key << ": NonDefaultSettings leaves it at its default";
    std::visit([&](const auto& kind) { copied.*kind.field = changed.*kind.field; },
               description.kind);
  }
  EXPECT_TRUE(copied == changed) << "a field of Settings has no description";
}

// The table's description of key.
SettingDescription Described(const char* key) {
  for (const SettingDescription& description : SettingDescriptions())
    if (description.key == std::string(key)) return description;
  ADD_FAILURE() << "no setting " << key;
  return {key, nullptr, FlagSetting{&Settings::OnlyTamed}};
}

// A number with limits of its own; no setting of the table is one yet, so it borrows a field.
const SettingDescription kBound{"Ceiling", nullptr,
                                BoundSetting{&Settings::DefaultScale, 1.0, 20.0}};

struct StatusValueCase {
  SettingDescription description;
  Settings settings;
  const char* shown;
};

TEST(SettingDescriptions, ShowTheirValueByKind) {
  Settings off;
  off.OnlyTamed = false;
  off.DefaultScale = 0.333;
  off.DefaultCameraArmScale = 9.999;
  off.CreatureScales.clear();
  off.ApplyDelaySeconds = -3;
  Settings bound;
  bound.DefaultScale = 12.5;
  const std::vector<StatusValueCase> cases = {
      {Described("OnlyTamed"), Settings{}, "true"},
      {Described("OnlyTamed"), off, "false"},
      {Described("DefaultScale"), Settings{}, "0.50"},
      {Described("DefaultScale"), off, "0.33"},
      {Described("DefaultCameraArmScale"), off, "10.00"},
      {Described("CreatureScales"), Settings{}, "25"},
      {Described("CreatureScales"), off, "0"},
      {Described("TargetBlueprints"), Settings{}, "21"},
      {Described("ExcludedBlueprints"), Settings{}, "3"},
      {Described("ApplyDelaySeconds"), off, "-3"},
      {Described("DebugLog"), Settings{}, "true"},
      {kBound, bound, "12.5"},
      {kBound, off, "0.333"},
  };
  for (const StatusValueCase& c : cases)
    EXPECT_EQ(SettingStatusValue(c.description, c.settings), c.shown) << c.description.key;
}

struct RuleCase {
  SettingDescription description;
  void (*change)(Settings&);
  const char* broken;  // empty: the rules hold
};

// Each kind's rules, at their edges: the values of the file's reading code must never reach.
TEST(SettingDescriptions, RulesOfEachKindCatchWhatTheReadersMustNeverStore) {
  constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<RuleCase> cases = {
      {Described("DefaultScale"), [](Settings&) {}, ""},
      {Described("DefaultScale"), [](Settings& s) { s.DefaultScale = 9.999; }, ""},
      {Described("DefaultScale"), [](Settings& s) { s.DefaultScale = tinyhorde::kMaxScale; },
       "DefaultScale = 10 lies outside the open range 0.01 to 10"},
      {Described("DefaultCameraArmScale"),
       [](Settings& s) { s.DefaultCameraArmScale = tinyhorde::kMinScale; },
       "DefaultCameraArmScale = 0.01 lies outside the open range 0.01 to 10"},
      {Described("DefaultScale"), [](Settings& s) { s.DefaultScale = kNan; },
       "DefaultScale = nan lies outside the open range 0.01 to 10"},
      {Described("CreatureScales"), [](Settings& s) { s.CreatureScales["rex"] = 0.35; }, ""},
      {Described("CreatureScales"), [](Settings& s) { s.CreatureScales["rex"] = 10.5; },
       "CreatureScales.rex = 10.5 lies outside the open range 0.01 to 10"},
      {Described("CreatureScales"), [](Settings& s) { s.CreatureScales["Rex"] = 0.35; },
       "CreatureScales key 'Rex' is not lower case"},
      {Described("CreatureScales"), [](Settings& s) { s.CreatureScales.erase("giga"); },
       "CreatureScales lost its entry 'giga'"},
      {Described("ExcludedBlueprints"), [](Settings& s) { s.ExcludedBlueprints.push_back(""); },
       "ExcludedBlueprints holds an empty entry, which would exclude everything"},
      {Described("TargetBlueprints"), [](Settings& s) { s.TargetBlueprints.push_back(""); }, ""},
      {Described("ApplyDelaySeconds"), [](Settings& s) { s.ApplyDelaySeconds = -7; }, ""},
      {Described("OnlyTamed"), [](Settings& s) { s.OnlyTamed = false; }, ""},
      {kBound, [](Settings& s) { s.DefaultScale = 1.0; }, ""},
      {kBound, [](Settings& s) { s.DefaultScale = 20.0; }, ""},
      {kBound, [](Settings& s) { s.DefaultScale = 20.5; },
       "Ceiling = 20.5 lies outside its limits 1 to 20"},
      {kBound, [](Settings& s) { s.DefaultScale = kNan; },
       "Ceiling = nan lies outside its limits 1 to 20"},
  };
  for (const RuleCase& c : cases) {
    const Settings before;
    Settings after = before;
    c.change(after);
    EXPECT_EQ(tinyhorde::SettingRuleBroken(c.description, before, after), c.broken)
        << c.description.key;
  }
}

}  // namespace
