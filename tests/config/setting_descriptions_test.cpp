// The settings' descriptions against the places that must follow them and were not made from
// them: the record's fields, the test helper that differs from the defaults everywhere and the
// fuzz dictionary of config.json. A description added to config/setting_descriptions.cpp fails
// here until each place has it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "config/setting_descriptions.h"
#include "config_test_helpers.h"

namespace {

using tinyhorde::SettingDescription;
using tinyhorde::SettingDescriptions;
using tinyhorde::Settings;
using tinyhorde::SettingStatusValue;

std::vector<std::string> Keys() {
  std::vector<std::string> keys;
  for (const SettingDescription& description : SettingDescriptions())
    keys.push_back(description.key);
  return keys;
}

// Whether two records hold the same value in description's field.
bool SameField(const SettingDescription& description, const Settings& a, const Settings& b) {
  return std::visit([&](auto field) { return a.*field == b.*field; }, description.field);
}

TEST(SettingDescriptions, AreTheKeysInLoadingOrder) {
  EXPECT_EQ(Keys(),
            (std::vector<std::string>{"OnlyTamed", "DefaultScale", "DefaultCameraArmScale",
                                      "CreatureScales", "TargetBlueprints", "ExcludedBlueprints",
                                      "ApplyDelaySeconds", "DebugLog"}));
}

TEST(SettingDescriptions, NamesAreDistinctCapitalisedWords) {
  std::vector<std::string> names;
  for (const SettingDescription& description : SettingDescriptions()) {
    names.push_back(description.key);
    if (description.olderKey != nullptr) names.push_back(description.olderKey);
  }
  for (const std::string& name : names) {
    // The install-layout check reads the names from the source as such words.
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
    if (descriptions[i].otherwise == nullptr) continue;
    const auto earlier = std::find_if(
        descriptions.begin(), descriptions.begin() + i, [&](const SettingDescription& d) {
          return d.field == tinyhorde::SettingField(descriptions[i].otherwise);
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
    std::visit([&](auto field) { copied.*field = changed.*field; }, description.field);
  }
  EXPECT_TRUE(copied == changed) << "a field of Settings has no description";
}

struct StatusValueCase {
  const char* key;
  Settings settings;
  const char* shown;
};

TEST(SettingDescriptions, ShowTheirValueByType) {
  Settings off;
  off.OnlyTamed = false;
  off.DefaultScale = 0.333;
  off.DefaultCameraArmScale = 9.999;
  off.CreatureScales.clear();
  off.ApplyDelaySeconds = -3;
  const std::vector<StatusValueCase> cases = {
      {"OnlyTamed", Settings{}, "true"},
      {"OnlyTamed", off, "false"},
      {"DefaultScale", Settings{}, "0.50"},
      {"DefaultScale", off, "0.33"},
      {"DefaultCameraArmScale", off, "10.00"},
      {"CreatureScales", Settings{}, "25"},
      {"CreatureScales", off, "0"},
      {"TargetBlueprints", Settings{}, "21"},
      {"ExcludedBlueprints", Settings{}, "3"},
      {"ApplyDelaySeconds", off, "-3"},
      {"DebugLog", Settings{}, "true"},
  };
  for (const StatusValueCase& c : cases) {
    const auto descriptions = SettingDescriptions();
    const auto it =
        std::find_if(descriptions.begin(), descriptions.end(),
                     [&](const SettingDescription& d) { return d.key == std::string(c.key); });
    ASSERT_NE(it, descriptions.end()) << c.key;
    EXPECT_EQ(SettingStatusValue(*it, c.settings), c.shown) << c.key;
  }
}

TEST(SettingDescriptions, FuzzDictionaryHoldsEveryName) {
  std::ifstream in(std::string(TINYHORDE_SOURCE_DIR) + "/fuzz/dict/load_config_fuzz.dict");
  ASSERT_TRUE(in.is_open());
  std::stringstream text;
  text << in.rdbuf();
  for (const SettingDescription& description : SettingDescriptions()) {
    for (const char* name : {description.key, description.olderKey}) {
      if (name == nullptr) continue;
      EXPECT_NE(text.str().find(std::string("\"\\x22") + name + "\\x22\""), std::string::npos)
          << "fuzz/dict/load_config_fuzz.dict lacks " << name;
    }
  }
}

}  // namespace
