// A hook on a name the SDK shows on no live line (OnUncryo) is asked for only where the host
// survives a name the game lacks: the server never stops over it, the log and the status say
// what was left out, and a creature released from a cryopod is shrunk at once, after 1 s and
// after 3 s either way. The host's own setting is read as the host reads it, once.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "host/game.h"
#include "host/services.h"
#include "support/sim_fixture.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kUncryo = host::game_names::kOnUncryo.name;
const std::string kNotAsked =
    "Not hooked, as the host would stop the server if the game lacks them (its config.json does "
    "not set HooksDoNotThrow): " +
    kUncryo + ".";
const std::string kRefused = "Not hooked, as the game lacks them: " + kUncryo + ".";

struct HostCase {
  const char* name;
  bool hooks_do_not_throw;  // the host's config.json at the server's start
  bool game_has_it;         // the game given the name ("host know")
  const char* left_out;     // the sentence the log and the status end with; null: none
};

void PrintTo(const HostCase& c, std::ostream* os) {
  *os << c.name;
}

class UnverifiedHook : public simtest::SimFixture, public ::testing::WithParamInterface<HostCase> {
 protected:
  bool HooksDoNotThrowAtStart() const override { return GetParam().hooks_do_not_throw; }

  // The contexts of the plugin's resize lines since the last call.
  Lines Contexts() {
    Lines contexts;
    for (const auto& line : TakeLogLines()) {
      const auto at = line.find("Context: ");
      if (line.rfind("[Tinyhorde] Resized ", 0) == 0 && at != std::string::npos)
        contexts.push_back(line.substr(at + 9, line.size() - at - 10));
    }
    return contexts;
  }
  static bool Has(const Lines& lines, const std::string& wanted) {
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
  }
};

TEST_P(UnverifiedHook, TheServerRunsOnAndReleasedCreaturesShrink) {
  const HostCase& c = GetParam();
  if (c.game_has_it) {
    ASSERT_EQ(Run("host know " + kUncryo).back(), "ok");
  }
  // The host's settings decide only where the plugin cannot read the game's names from the host's
  // offsets cache (where it can, a name the cache lacks is never asked for: GameNamesCache).
  ASSERT_EQ(Run("host cache absent").back(), "ok");
  LoadPlugin();
  const Lines start = TakeLogLines();
  const std::string said = c.left_out ? std::string("[Tinyhorde] ") + c.left_out : "";
  EXPECT_EQ(std::count_if(start.begin(), start.end(),
                          [](const std::string& l) { return l.find("Not hooked") != l.npos; }),
            c.left_out ? 1 : 0);
  if (c.left_out) {
    EXPECT_TRUE(Has(start, said));
  }
  EXPECT_FALSE(Has(start, "[Tinyhorde] Could not hook " + kUncryo));
  EXPECT_TRUE(Has(start, "[Tinyhorde] Plugin initialized successfully.")) << "shrinking is off";
  const bool hooked = c.hooks_do_not_throw && c.game_has_it;
  EXPECT_EQ(!Server().Hooks().Find(kUncryo)->links.empty(), hooked);

  Run("player Ada admin");
  Run("spawn Dreadnoughtus_Character_BP_C tamed 1");  // 2
  Run("wait 5");
  ASSERT_EQ(Run("cryo 2 1").back(), "ok pod 3");
  // Every restore of the capture has its lines: time for DebugLog's budget to fill again, so that
  // each application below is written.
  Run("wait 50");
  TakeLogLines();
  ASSERT_EQ(Run("uncryo 3 1").back(), "ok creature 4");
  EXPECT_NEAR(Game().RootScale(Game().CreatureObject(4)).X, 0.25, 1e-9);
  Lines wanted = {"BeginPlay-Immediate"};
  if (hooked) wanted.push_back("OnUncryo-Immediate");
  EXPECT_EQ(Contexts(), wanted);
  Run("wait 1");
  wanted = {"BeginPlay-Delayed-1s"};
  if (hooked) wanted.push_back("OnUncryo-Delayed-1s");
  EXPECT_EQ(Contexts(), wanted);
  Run("wait 2");
  wanted = {"BeginPlay-Delayed-3s"};
  if (hooked) wanted.push_back("OnUncryo-Delayed-3s");
  EXPECT_EQ(Contexts(), wanted);

  // The status says it last, when there is anything to say.
  const auto printed = Run("rcon hordesize.status");
  ASSERT_GE(printed.size(), 2u);
  const std::string& status = printed[printed.size() - 2];
  const bool status_says = status.find(c.left_out ? c.left_out : "Not hooked") != std::string::npos;
  EXPECT_EQ(status_says, c.left_out != nullptr) << status;
  EXPECT_NE(status.find("Status: shrinking on."), std::string::npos) << status;

  // Unload removes only what was installed: a hook taken out by a name the game lacks would stop
  // the host (the test process would end here).
  UnloadPlugin();
  EXPECT_EQ(Server().Hooks().InstalledCount(), 0u);
  EXPECT_NEAR(Game().RootScale(Game().CreatureObject(4)).X, 1.0, 1e-9);
  // A second start-up reads the host's settings again and asks the same.
  LoadPlugin();
  EXPECT_EQ(!Server().Hooks().Find(kUncryo)->links.empty(), hooked);
  EXPECT_EQ(Server().ErrorCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, UnverifiedHook,
    ::testing::Values(HostCase{"ShippedSettings", false, false, kNotAsked.c_str()},
                      // Not asked even where the game has it: the plugin cannot know that.
                      HostCase{"ShippedSettingsGameHasIt", false, true, kNotAsked.c_str()},
                      HostCase{"HooksDoNotThrow", true, false, kRefused.c_str()},
                      HostCase{"HooksDoNotThrowGameHasIt", true, true, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

class HostSettings : public simtest::SimFixture {};

// The plugin reads the host's config.json as the host reads it: only a boolean true under
// "settings" counts, and both agree on every file.
TEST_F(HostSettings, OnlyABooleanTrueUnderSettingsCounts) {
  struct FileCase {
    const char* text;
    bool survives;
  };
  const FileCase cases[] = {
      {R"({"settings": {"HooksDoNotThrow": true}})", true},
      {"\xEF\xBB\xBF{\"settings\": {\"HooksDoNotThrow\": true}}", true},
      {R"({"settings": {"HooksDoNotThrow": true, "AutomaticPluginReloading": 5}})", true},
      {R"({"settings": {"HooksDoNotThrow": false}})", false},
      {R"({"settings": {"HooksDoNotThrow": "true"}})", false},
      {R"({"settings": {"HooksDoNotThrow": 1}})", false},
      {R"({"settings": {"HooksDoNotThrow": null}})", false},
      {R"({"settings": {}})", false},
      {R"({"settings": [true]})", false},
      {R"({"settings": true})", false},
      {R"({"HooksDoNotThrow": true})", false},
      {R"([{"settings": {"HooksDoNotThrow": true}}])", false},
      {R"({"settings": {"HooksDoNotThrow": true},})", false},
      {"// a comment\n{\"settings\": {\"HooksDoNotThrow\": true}}", false},
      {"", false},
  };
  for (const FileCase& c : cases) {
    RestartServerWithHostConfig(c.text);
    host::ReadHostSettings();
    EXPECT_EQ(host::HostSurvivesUnknownFunctions(), c.survives) << c.text;
    EXPECT_EQ(Server().HooksDoNotThrow(), c.survives) << c.text;
  }
  // A missing file is false too.
  std::filesystem::remove(Win64Dir() / "config.json");
  host::ReadHostSettings();
  EXPECT_FALSE(host::HostSurvivesUnknownFunctions());
}

// The host read its file when the server started: a file written since may say what the host
// never read, so the plugin does not trust it, and asks for nothing the host could stop over.
TEST_F(HostSettings, AFileWrittenAfterTheServerStartedCountsAsFalse) {
  ASSERT_FALSE(Server().HooksDoNotThrow());
  const auto file = Win64Dir() / "config.json";
  WriteFile("ShooterGame/Binaries/Win64/config.json", R"({"settings": {"HooksDoNotThrow": true}})");
  std::filesystem::last_write_time(file, Server().StartTime() + std::chrono::seconds(2));
  Run("host know " + kUncryo);
  LoadPlugin();  // would end the server if the plugin asked for the name
  EXPECT_FALSE(host::HostSurvivesUnknownFunctions());
  EXPECT_FALSE(!Server().Hooks().Find(kUncryo)->links.empty());
  UnloadPlugin();
  // The same file, older than the server's start, is what the host read.
  std::filesystem::last_write_time(file, Server().StartTime() - std::chrono::seconds(2));
  host::ReadHostSettings();
  EXPECT_TRUE(host::HostSurvivesUnknownFunctions());
}

// Nothing reaches the host with a marked name through the other look-ups.
TEST_F(HostSettings, AMarkedNameIsNeverLookedUpAsAFunctionFieldOrFlag) {
  SetHooksDoNotThrow();
  Run("host know " + kUncryo);
  host::ReadHostSettings();
  ASSERT_TRUE(host::HostSurvivesUnknownFunctions());
  // The cache now has the name: the mark alone keeps it from the host.
  host::CheckGameNames();
  const auto lookups = Server().Lookup().Lookups();
  EXPECT_EQ(host::GetFunctionAddress(host::game_names::kOnUncryo), nullptr);
  EXPECT_THROW(host::GetFieldOffset(host::game_names::kOnUncryo), host::UnknownGameName);
  EXPECT_THROW(host::GetBitFieldOffset(host::game_names::kOnUncryo), host::UnknownGameName);
  EXPECT_EQ(Server().Lookup().Lookups(), lookups);
}

}  // namespace
