// examples/config.json, as a server owner would copy it: every key the loader reads (from the
// settings' descriptions), each with its default, so that loading it changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "commands_fixture.h"
#include "config/setting_descriptions.h"

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
  // The loader's keys (under their current names), in the order the parser gives the file's.
  std::vector<std::string> described;
  for (const tinyhorde::SettingDescription& description : tinyhorde::SettingDescriptions())
    described.push_back(description.key);
  std::sort(described.begin(), described.end());
  EXPECT_EQ(keys, described);
  const tinyhorde::Settings defaults;
  EXPECT_EQ(document.at("CreatureScales").size(), defaults.CreatureScales.size());
  EXPECT_EQ(document.at("TargetBlueprints").size(), defaults.TargetBlueprints.size());
  EXPECT_EQ(document.at("ExcludedBlueprints").size(), defaults.ExcludedBlueprints.size());
}

TEST_F(ExampleConfigFile, LoadingItGivesTheDefaults) {
  Edit([](tinyhorde::Settings& s) {
    s = tinyhorde::Settings{};
    s.CreatureScales.clear();
    s.TargetBlueprints.clear();
    s.ExcludedBlueprints.clear();
    s.DefaultScale = 0.9;
    s.DefaultCameraArmScale = 0.8;
    s.OnlyTamed = false;
    s.ApplyDelaySeconds = 7;
    s.DebugLog = false;
  });
  WriteFile(kConfigFile, ExampleConfig());
  Run("player Ada admin");
  EXPECT_EQ(Replies("console 1 hordesize.reload"),
            Lines{Msg(1, kGreen,
                      "[Tinyhorde] Config reloaded (25 creature scales configured, "
                      "OnlyTamed=true).")});
  EXPECT_TRUE(Copy() == tinyhorde::Settings{});
}

}  // namespace
