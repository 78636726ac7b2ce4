// The administrators' commands over console, RCON and chat: their grammar, effects and exact
// replies, colours included.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <mutex>

#include "commands/set_scale_command.h"
#include "config/plugin_settings.h"
#include "support/sim_fixture.h"

namespace {

using Lines = std::vector<std::string>;
using tinyhorde::PluginSettings;
using tinyhorde::SettingsMutex;

const std::string kUsage =
    "Usage: hordesize.setscale <float> OR hordesize.setscale <creature> <float>";
const std::string kResized1 = "[Tinyhorde] Resized 1 tamed super-large creature(s) to Rex scale.";
const std::string kPluginConfig = "ShooterGame/Binaries/Win64/ArkApi/Plugins/Tinyhorde/config.json";

std::string Json(const std::string& text) {
  return "\"" + text + "\"";
}
std::string Green(int player, const std::string& text) {
  return "msg " + std::to_string(player) + " 0 1 0 1 " + Json(text);
}
std::string Red(int player, const std::string& text) {
  return "msg " + std::to_string(player) + " 1 0 0 1 " + Json(text);
}

// Only the replies and the non-detail log lines of a command.
Lines Replies(const Lines& printed) {
  Lines kept;
  for (const auto& line : printed) {
    if (line.rfind("msg ", 0) == 0 || line.rfind("rcon ", 0) == 0 || line.rfind("error", 0) == 0) {
      kept.push_back(line);
    } else if (line.rfind("log ", 0) == 0) {
      const auto at = line.find("[Tinyhorde] ", line.find("] ") + 2);
      const std::string message = line.substr(at);
      if (message.rfind("[Tinyhorde] Resized ", 0) == 0 &&
          message.find("creature(s)") != message.npos)
        kept.push_back("log " + message);
      else if (message.find("Config re") != message.npos ||
               message.find("Config not") != message.npos)
        kept.push_back("log " + message);
    }
  }
  return kept;
}

class Commands : public simtest::SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    Run("player Admin admin");  // 1
    Run("player Guest");        // 2
    StartInProcess();
    TakeOutput();
  }
  Lines Do(const std::string& line) { return Replies(Run(line)); }
  double DefaultScale() {
    std::lock_guard<std::mutex> lock(SettingsMutex);
    return PluginSettings.DefaultScale;
  }
  double CameraScale() {
    std::lock_guard<std::mutex> lock(SettingsMutex);
    return PluginSettings.DefaultCameraArmScale;
  }
  std::optional<double> Entry(const std::string& key) {
    std::lock_guard<std::mutex> lock(SettingsMutex);
    auto it = PluginSettings.CreatureScales.find(key);
    return it == PluginSettings.CreatureScales.end() ? std::nullopt : std::optional(it->second);
  }
  double RootScale(int id) { return Game().RootScale(Game().CreatureObject(id)).X; }
};

// ---- setscale grammar -------------------------------------------------------------------

struct ScaleCase {
  const char* argument;
  bool accepted;
  double value;
};

class SetScaleGlobal : public Commands, public ::testing::WithParamInterface<ScaleCase> {};

TEST_P(SetScaleGlobal, AcceptsOnlyValuesStrictlyBetweenTheBounds) {
  const auto& c = GetParam();
  const Lines replies = Do(std::string("console 1 hordesize.setscale ") + c.argument);
  if (c.accepted) {
    EXPECT_EQ(
        replies,
        (Lines{"log [Tinyhorde] Resized 0 tamed super-large creature(s) to Rex scale.",
               Green(1, "[Tinyhorde] Resized 0 tamed super-large creature(s) to Rex scale.")}));
    EXPECT_DOUBLE_EQ(DefaultScale(), c.value);
    EXPECT_DOUBLE_EQ(CameraScale(), c.value);
  } else {
    EXPECT_EQ(replies, Lines{Red(1, kUsage)});
    EXPECT_DOUBLE_EQ(DefaultScale(), 0.5);
  }
}

INSTANTIATE_TEST_SUITE_P(
    NumberRule, SetScaleGlobal,
    ::testing::Values(ScaleCase{"0.6", true, 0.6}, ScaleCase{"0.5x", true, 0.5},
                      ScaleCase{"9.99", true, 9.99}, ScaleCase{"1e-1", true, 0.1},
                      ScaleCase{"  0.3", true, 0.3}, ScaleCase{"abc", false, 0},
                      ScaleCase{"10", false, 0}, ScaleCase{"0.01", false, 0},
                      ScaleCase{"0", false, 0}, ScaleCase{"-1", false, 0},
                      ScaleCase{"nan", false, 0}, ScaleCase{"inf", false, 0},
                      ScaleCase{"1e400", false, 0}));

TEST(SetScaleNumber, ReadsTheLeadingNumberWithAPointWhateverTheLocale) {
  // A comma-decimal locale, where the C library's own reading would stop at the point.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  const bool switched = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr ||
                        std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") != nullptr;
  EXPECT_DOUBLE_EQ(tinyhorde::ReadLeadingNumber("0.75"), 0.75);
  EXPECT_DOUBLE_EQ(tinyhorde::ReadLeadingNumber("  +2.5e1xyz"), 25.0);
  EXPECT_DOUBLE_EQ(tinyhorde::ReadLeadingNumber("-.5"), -0.5);
  EXPECT_DOUBLE_EQ(tinyhorde::ReadLeadingNumber("x1"), 0.0);
  EXPECT_DOUBLE_EQ(tinyhorde::ReadLeadingNumber(""), 0.0);
  EXPECT_DOUBLE_EQ(tinyhorde::ReadLeadingNumber("1e-400"), 0.0);
  EXPECT_TRUE(std::isnan(tinyhorde::ReadLeadingNumber("NaN")));
  std::setlocale(LC_NUMERIC, saved.c_str());
  if (!switched) GTEST_SKIP() << "no comma-decimal locale installed; read in the C locale only";
}

TEST_F(Commands, SetScaleNeedsAnArgumentAndSplitsOnRunsOfSpaces) {
  EXPECT_EQ(Do("console 1 hordesize.setscale"), Lines{Red(1, kUsage)});
  EXPECT_EQ(Do("console 1 hordesize.setscale   "), Lines{Red(1, kUsage)});
  Do("console 1 hordesize.setscale  0.7");
  EXPECT_DOUBLE_EQ(DefaultScale(), 0.7);
  // A tab does not separate: "0.2\t3" is one token reading 0.2.
  Do("console 1 hordesize.setscale 0.2\t3");
  EXPECT_DOUBLE_EQ(DefaultScale(), 0.2);
}

TEST_F(Commands, PerCreatureFormSetsOnlyThatEntry) {
  Do("console 1 hordesize.setscale Dreadnought 0.3");
  EXPECT_EQ(Entry("dreadnought"), 0.3);
  EXPECT_DOUBLE_EQ(DefaultScale(), 0.5);
  Do("console 1 hordesize.setscale rex 0.5 extra");
  EXPECT_EQ(Entry("rex"), 0.5);
  EXPECT_EQ(tinyhorde::CreatureScaleCount(), 21u);
  EXPECT_EQ(Do("console 1 hordesize.setscale dread 12"), Lines{Red(1, kUsage)});
  EXPECT_FALSE(Entry("dread").has_value());
}

TEST_F(Commands, ANewKeyMakesMatchingCreaturesTargetsAtOnce) {
  Run("spawn Rex_Character_BP_C tamed 1");  // 3
  EXPECT_DOUBLE_EQ(RootScale(3), 1.0);
  EXPECT_EQ(Do("console 1 hordesize.setscale rex 0.6").back(), Green(1, kResized1));
  EXPECT_DOUBLE_EQ(RootScale(3), 0.6);
}

TEST_F(Commands, TheLegacyPrefixRunsTheSameHandlersAndTheUsageStillNamesHordesize) {
  EXPECT_EQ(Do("console 1 bigfit.setscale 25"), Lines{Red(1, kUsage)});
  Do("console 1 BIGFIT.SETSCALE 0.8");
  EXPECT_DOUBLE_EQ(DefaultScale(), 0.8);
  EXPECT_EQ(Do("rcon bigfit.setscale x"), Lines{"rcon 1 " + Json(kUsage + "\\n")});
}

// ---- resize-all -------------------------------------------------------------------------

TEST_F(Commands, ResizeAllCountsEveryQualifyingTargetEachTime) {
  Run("spawn Dreadnoughtus_Character_BP_C tamed 1");   // 3: tamed target
  Run("spawn Titanosaur_Character_BP_C");              // 4: wild target
  Run("spawn Rex_Character_BP_C tamed 1");             // 5: not a target
  Run("spawn Giganotosaurus_Character_BP_C tamed 1");  // 6: tamed target, killed
  Run("kill 6");
  Game().null_actor_entries = 1;
  const Lines expected = {"log " + kResized1, Green(1, kResized1)};
  EXPECT_EQ(Do("console 1 hordesize.resizeall"), expected);
  EXPECT_EQ(Do("console 1 hordesize.resizeall"), expected) << "already at scale still counts";
  EXPECT_DOUBLE_EQ(RootScale(4), 1.0);
  EXPECT_DOUBLE_EQ(RootScale(5), 1.0);
  {
    std::lock_guard<std::mutex> lock(SettingsMutex);
    PluginSettings.OnlyTamed = false;
  }
  const std::string two = "[Tinyhorde] Resized 2 tamed super-large creature(s) to Rex scale.";
  EXPECT_EQ(Do("console 1 hordesize.resizeall"), (Lines{"log " + two, Green(1, two)}));
  EXPECT_DOUBLE_EQ(RootScale(4), 0.28);
  EXPECT_EQ(LiveBlocks(), 0u);
}

TEST_F(Commands, ResizeAllWithoutCallerOrCreaturesOrWorld) {
  const std::string none = "[Tinyhorde] Resized 0 tamed super-large creature(s) to Rex scale.";
  EXPECT_EQ(Do("console - hordesize.resizeall"), Lines{"log " + none});
  EXPECT_EQ(Do("rcon hordesize.resizeall"), Lines{"rcon 1 " + Json(none + "\\n")});
  Run("world down");
  EXPECT_EQ(Do("console 1 hordesize.resizeall"), Lines{Red(1, "World not loaded.")});
  EXPECT_EQ(Do("console - bigfit.resizeall"), Lines{});
  EXPECT_EQ(Do("chat 1 /hordesize resizeall"), Lines{Red(1, "World not loaded.")});
  EXPECT_EQ(Do("rcon hordesize.resizeall"), Lines{"rcon 2 \"World not loaded.\\n\""});
  // A setscale without a world still stores its value.
  EXPECT_EQ(Do("rcon hordesize.setscale 0.4"), Lines{"rcon 3 \"World not loaded.\\n\""});
  EXPECT_DOUBLE_EQ(DefaultScale(), 0.4);
}

TEST_F(Commands, RconSetScaleAnswersWithTheResizeResult) {
  Run("spawn Dreadnoughtus_Character_BP_C tamed 1");
  EXPECT_EQ(Do("rcon hordesize.setscale 0.4"), Lines{"rcon 1 " + Json(kResized1 + "\\n")});
  EXPECT_DOUBLE_EQ(CameraScale(), 0.4);
  EXPECT_EQ(Do("rcon hordesize.setscale 25"), Lines{"rcon 2 " + Json(kUsage + "\\n")});
  EXPECT_EQ(LiveBlocks(), 0u);
}

// ---- reload -----------------------------------------------------------------------------

TEST_F(Commands, ReloadReportsTheSettingsInForce) {
  WriteFile(kPluginConfig, R"({"OnlyTamed": false, "CreatureScales": {"Rex": 0.3}})");
  const std::string text =
      "[Tinyhorde] Config reloaded (21 creature scales configured, OnlyTamed=false).";
  EXPECT_EQ(Do("console 1 hordesize.reload"), (Lines{"log " + text, Green(1, text)}));
  EXPECT_EQ(Do("rcon bigfit.reload"), Lines{"rcon 1 " + Json(text + "\\n")});
  EXPECT_EQ(Do("chat 1 /hordesize reload"),
            Lines{Green(1, "[Tinyhorde] Config reloaded successfully.")});
}

TEST_F(Commands, AReloadThatLoadedNothingSaysSoAndKeepsTheSettings) {
  Do("console 1 hordesize.setscale 0.7");
  const std::string missing =
      "[Tinyhorde] Config not reloaded: config.json not found; keeping the current settings.";
  EXPECT_EQ(Do("console 1 hordesize.reload"), (Lines{"log " + missing, Red(1, missing)}));
  EXPECT_EQ(Do("rcon hordesize.reload"), Lines{"rcon 1 " + Json(missing + "\\n")});
  EXPECT_EQ(Do("chat 1 /hordesize reload"), Lines{Red(1, missing)});

  WriteFile(kPluginConfig, R"({"DefaultScale": 0.2,})");
  const Lines broken = Do("console 1 hordesize.reload");
  ASSERT_EQ(broken.size(), 2u);
  EXPECT_EQ(
      broken[1].rfind(
          Red(1, "[Tinyhorde] Config not reloaded: [json.exception.parse_error").substr(0, 40), 0),
      0u)
      << broken[1];
  EXPECT_NE(broken[1].find("; keeping the current settings.\""), std::string::npos);

  std::filesystem::remove(SimFixture::Root() / kPluginConfig);
  std::filesystem::create_directories(SimFixture::Root() / kPluginConfig);
  const Lines directory = Do("rcon hordesize.reload");
  ASSERT_EQ(directory.size(), 1u);
  EXPECT_NE(directory[0].find("Config not reloaded: cannot open"), std::string::npos)
      << directory[0];
  EXPECT_DOUBLE_EQ(DefaultScale(), 0.7);
}

// ---- chat -------------------------------------------------------------------------------

TEST_F(Commands, ChatBannerForAnyoneAndUnknownSubcommands) {
  const std::string banner =
      "msg 2 0.2 0.8 1 1 \"[Tinyhorde] Active. Tamed super-large creatures are scaled to Rex "
      "size. Cryopod & SCS compatible.\"";
  for (const char* line : {"/hordesize", "/hordesize help", "/hordesize setscale 0.5",
                           "/hordesize reloadnow", "/HordeSize"})
    EXPECT_EQ(Do(std::string("chat 2 ") + line), Lines{banner}) << line;
  EXPECT_DOUBLE_EQ(DefaultScale(), 0.5);
}

TEST_F(Commands, ChatSubcommandsAreForAdministratorsAndIgnoreCase) {
  Run("spawn Dreadnoughtus_Character_BP_C tamed 1");
  WriteFile(kPluginConfig, R"({"DebugLog": false})");
  EXPECT_EQ(Do("chat 2 /hordesize reload"), Lines{Red(2, "Admin privileges required.")});
  EXPECT_EQ(Do("chat 2 /hordesize resizeall"), Lines{Red(2, "Admin privileges required.")});
  {
    std::lock_guard<std::mutex> lock(SettingsMutex);
    EXPECT_TRUE(PluginSettings.DebugLog) << "a refused reload must not read the file";
  }
  EXPECT_EQ(Do("chat 1 /hordesize    RELOAD"),
            Lines{Green(1, "[Tinyhorde] Config reloaded successfully.")});
  EXPECT_EQ(Do("chat 1 /hordesize ReSizeAll"), (Lines{"log " + kResized1, Green(1, kResized1)}));
  EXPECT_EQ(LiveBlocks(), 0u);
}

}  // namespace
