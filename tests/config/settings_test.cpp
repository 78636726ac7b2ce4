// The settings record: its defaults, its locked steps and the order of its creature keys.
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "config/plugin_settings.h"
#include "config_test_helpers.h"

namespace {

using configtest::CurrentSettings;
using configtest::StoreSettings;
using tinyhorde::CreatureScaleTable;
using tinyhorde::Settings;

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { StoreSettings(Settings{}); }
  void TearDown() override { StoreSettings(Settings{}); }
};

TEST(SettingsDefaults, EveryFieldHasItsDefault) {
  const Settings defaults;
  EXPECT_TRUE(defaults.OnlyTamed);
  EXPECT_EQ(defaults.DefaultScale, 0.5);
  EXPECT_EQ(defaults.DefaultCameraArmScale, 0.5);
  EXPECT_EQ(defaults.ApplyDelaySeconds, 1);
  EXPECT_TRUE(defaults.DebugLog);

  const std::vector<std::pair<std::string, double>> scales = {
      {"dreadnought", 0.25}, {"dreadnaught", 0.25},
      {"titanosaur", 0.28},  {"sauropod", 0.4},
      {"bronto", 0.4},       {"diplodocus", 0.45},
      {"gigant", 0.75},      {"giga", 0.75},
      {"carcha", 0.75},      {"paracer", 0.72},
      {"oasisaur", 0.25},    {"shasta", 0.25},
      {"megachelon", 0.5},   {"giantturtle", 0.5},
      {"mosasaur", 0.5},     {"mosa_character", 0.5},
      {"foresttitan", 0.16}, {"forestkaiju_character", 0.16},
      {"icetitan", 0.16},    {"icekaiju_character", 0.16},
      {"deserttitan", 0.14}, {"desertkaiju_character", 0.14},
      {"spacewhale", 0.25},  {"astrocetus", 0.25},
      {"rhynio", 0.7},
  };
  EXPECT_EQ(defaults.CreatureScales, CreatureScaleTable(scales.begin(), scales.end()));

  const std::vector<std::string> blueprints = {
      "Dreadnoughtus_Character_BP", "Titanosaur_Character_BP",  "Sauropod_Character_BP",
      "Diplodocus_Character_BP",    "Gigant_Character_BP",      "Carcha_Character_BP",
      "Paracer_Character_BP",       "Oasisaur_Character_BP",    "Shastasaurus_Character_BP",
      "Megachelon_Character_BP",    "Mosasaur_Character_BP",    "ForestTitan_Character_BP",
      "IceTitan_Character_BP",      "DesertTitan_Character_BP", "SpaceWhale_Character_BP",
      "Rhynio_Character_BP",        "GiantTurtle_Character_BP", "Mosa_Character_BP",
      "ForestKaiju_Character_BP",   "IceKaiju_Character_BP",    "DesertKaiju_Character_BP",
  };
  EXPECT_EQ(defaults.TargetBlueprints, blueprints);

  const std::vector<std::string> excluded = {"Gigantoraptor", "RhynioDrone", "OasisaurTaming"};
  EXPECT_EQ(defaults.ExcludedBlueprints, excluded);
}

// A key that contains another must be tried first, or "giga" would answer for a Gigant.
TEST(CreatureScaleOrder, LongerKeysComeFirstThenBytes) {
  const CreatureScaleTable table = {{"giga", 0.75}, {"z", 1}, {"gigant", 0.6}, {"ba", 2},
                                    {"ab", 3},      {"a", 4}, {"\xC3\xA9", 5}, {"zz", 6}};
  std::vector<std::string> order;
  for (const auto& [key, scale] : table) order.push_back(key);
  // Same length: plain byte order, a byte above 0x7F sorting after ASCII.
  const std::vector<std::string> expected = {"gigant", "giga",     "ab", "ba",
                                             "zz",     "\xC3\xA9", "a",  "z"};
  EXPECT_EQ(order, expected);
  // Irreflexive, so that a key set twice stays one entry.
  EXPECT_FALSE(tinyhorde::LongestKeyFirst{}("giga", "giga"));
}

TEST(LowerBytes, LowersOnlyAsciiLetters) {
  // The bytes on either side of 'A'-'Z' and 'a'-'z' stay as they are.
  EXPECT_EQ(tinyhorde::LowerBytes("@AZ[`az{09_"), "@az[`az{09_");
  EXPECT_EQ(tinyhorde::LowerBytes("Dreadnoughtus_Character_BP"), "dreadnoughtus_character_bp");
  // UTF-8 and other high bytes are not letters here.
  EXPECT_EQ(tinyhorde::LowerBytes("\xC3\x89LAN\xC0\xFF"), "\xC3\x89lan\xC0\xFF");
  const std::string withNul("A\0B", 3);
  EXPECT_EQ(tinyhorde::LowerBytes(withNul), std::string("a\0b", 3));
  EXPECT_EQ(tinyhorde::LowerBytes(""), "");
}

TEST_F(SettingsTest, SetCreatureScaleOverwritesAnExistingKeyWhateverItsCase) {
  tinyhorde::SetCreatureScale("DreadNought", 0.2);
  EXPECT_EQ(tinyhorde::CreatureScaleCount(), 25u);
  const Settings now = CurrentSettings();
  EXPECT_EQ(now.CreatureScales.at("dreadnought"), 0.2);
  EXPECT_EQ(now.CreatureScales.count("DreadNought"), 0u);
  EXPECT_EQ(now.CreatureScales.at("dreadnaught"), 0.25);
}

TEST_F(SettingsTest, SetCreatureScaleAddsANewKeyLowered) {
  tinyhorde::SetCreatureScale("Rex", 0.3);
  EXPECT_EQ(tinyhorde::CreatureScaleCount(), 26u);
  const Settings now = CurrentSettings();
  EXPECT_EQ(now.CreatureScales.at("rex"), 0.3);
  EXPECT_EQ(now.CreatureScales.count("Rex"), 0u);
}

TEST_F(SettingsTest, SetGlobalScaleSetsBothScalesAndNothingElse) {
  Settings expected;
  expected.DefaultScale = 0.6;
  expected.DefaultCameraArmScale = 0.6;
  tinyhorde::SetGlobalScale(0.6);
  configtest::ExpectSameSettings(expected, CurrentSettings());
}

TEST_F(SettingsTest, ReadersReportTheRecord) {
  Settings changed;
  changed.OnlyTamed = false;
  changed.DebugLog = false;
  changed.CreatureScales.erase("rhynio");
  StoreSettings(changed);
  EXPECT_FALSE(tinyhorde::OnlyTamedSetting());
  EXPECT_FALSE(tinyhorde::DebugLogSetting());
  EXPECT_EQ(tinyhorde::CreatureScaleCount(), 24u);
  EXPECT_TRUE(configtest::SettingsLockIsFree());
}

}  // namespace
