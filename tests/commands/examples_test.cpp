// examples/config.json, as a server owner would copy it: every key, each with its default, so
// that loading it changes nothing.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "commands_fixture.h"

namespace {

using namespace commandtest;

std::string ExampleConfig() {
  std::ifstream in(TINYHORDE_EXAMPLE_CONFIG);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class ExampleConfigFile : public CommandsTest {};

TEST_F(ExampleConfigFile, NamesEveryKeyExactlyOnce) {
  const auto document = nlohmann::json::parse(ExampleConfig());
  std::vector<std::string> keys;
  for (const auto& [key, value] : document.items()) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{
                      "ApplyDelaySeconds", "CreatureScales", "DebugLog", "DefaultCameraArmScale",
                      "DefaultScale", "ExcludedBlueprints", "OnlyTamed", "TargetBlueprints"}));
  EXPECT_EQ(document.at("CreatureScales").size(), 25u);
  EXPECT_EQ(document.at("TargetBlueprints").size(), 21u);
  EXPECT_EQ(document.at("ExcludedBlueprints").size(), 3u);
}

TEST_F(ExampleConfigFile, LoadingItGivesTheDefaults) {
  Edit([](tinyhorde::Settings& s) {
    s = tinyhorde::Settings{};
    s.CreatureScales.clear();
    s.TargetBlueprints.clear();
    s.ExcludedBlueprints.clear();
    s.DefaultScale = 0.9;
    s.DefaultCameraArmScale = 0.9;
    s.OnlyTamed = false;
    s.ApplyDelaySeconds = 7;
  });
  WriteFile(kConfigFile, ExampleConfig());
  Run("player Ada admin");
  EXPECT_EQ(Replies("console 1 hordesize.reload"),
            Lines{Msg(1, kGreen,
                      "[Tinyhorde] Config reloaded (25 creature scales configured, "
                      "OnlyTamed=true).")});
  const tinyhorde::Settings loaded = Copy();
  const tinyhorde::Settings defaults;
  EXPECT_EQ(loaded.OnlyTamed, defaults.OnlyTamed);
  EXPECT_EQ(loaded.DefaultScale, defaults.DefaultScale);
  EXPECT_EQ(loaded.DefaultCameraArmScale, defaults.DefaultCameraArmScale);
  EXPECT_EQ(loaded.CreatureScales, defaults.CreatureScales);
  EXPECT_EQ(loaded.TargetBlueprints, defaults.TargetBlueprints);
  EXPECT_EQ(loaded.ExcludedBlueprints, defaults.ExcludedBlueprints);
  EXPECT_EQ(loaded.ApplyDelaySeconds, defaults.ApplyDelaySeconds);
  EXPECT_EQ(loaded.DebugLog, defaults.DebugLog);
}

}  // namespace
