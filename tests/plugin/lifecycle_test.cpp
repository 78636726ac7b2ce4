// Loading and unloading the plugin: the start-up and shut-down lines, the hooks and commands it
// offers the host, what happens to timers and creatures at unload, and what the library exports.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "base/logger.h"
#include "commands/command_table.h"
#include "host/game_names.h"
#include "plugin/hook_installation.h"
#include "plugin/lifecycle.h"
#include "sim/game_functions.h"
#include "support/sim_fixture.h"

namespace {

using Lines = std::vector<std::string>;

// The names the plugin registers under each of the console and RCON: each row of the command
// table under each of its prefixes.
std::size_t NamesPerRegistry() {
  std::size_t names = 0;
  for (const tinyhorde::CommandRow& row : tinyhorde::CommandTable())
    names += tinyhorde::CommandPrefixes(row).size();
  return names;
}

// Every command the plugin registers: those names on the console and over RCON, and the one chat
// command.
std::size_t PluginCommands() {
  return 2 * NamesPerRegistry() + 1;
}

class Lifecycle : public simtest::SimFixture {
 protected:
  std::size_t Commands() {
    auto& commands = Server().Commands();
    return commands.console.Size() + commands.rcon.Size() + commands.chat.Size();
  }
  double RootScale(int id) { return Game().RootScale(Game().CreatureObject(id)).X; }
  // The hooks the plugin can install on this host: every hookable function the game knows (a
  // name the SDK does not show, the game lacks), as the host as shipped lets it ask for them.
  std::size_t HookableKnown() {
    std::size_t known = 0;
    for (int hook = 0; hook < static_cast<int>(sim::Hook::Count); ++hook)
      known +=
          Server().Lookup().KnowsFunction(sim::HookGameName(static_cast<sim::Hook>(hook)).name);
    return known;
  }
};

TEST_F(Lifecycle, LoadAndUnloadWithoutAConfigWriteTheLinesInOrderInTheLoggersPattern) {
  Run("world down");
  LoadPlugin();
  UnloadPlugin();
  const Lines lines = TakeFormattedLogLines();
  const Lines messages = {
      "[Tinyhorde][info] [Tinyhorde] Initializing...",
      // The generation folder and the time vary: the line is compared up to them.
      "[Tinyhorde][info] [Tinyhorde] Game names checked against the host's offsets cache: all " +
          std::to_string(std::size(host::kGameNames) - 1) + " present (",
      "[Tinyhorde][warning] [Tinyhorde] config.json not found, using default Rex-scaling values.",
      "[Tinyhorde][info] [Tinyhorde] Not hooked, as the game lacks them: "
      "APrimalDinoCharacter.OnUncryo(AShooterPlayerController*).",
      "[Tinyhorde][info] [Tinyhorde] Plugin initialized successfully.",
      "[Tinyhorde][info] [Tinyhorde] Unloading...",
      "[Tinyhorde][info] [Tinyhorde] Plugin unloaded.",
  };
  ASSERT_EQ(lines.size(), messages.size());
  const std::regex stamp(R"(^\d\d/\d\d/\d\d \d\d:\d\d (.*)$)");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(lines[i], match, stamp)) << lines[i];
    if (messages[i].back() == '(')
      EXPECT_EQ(match[1].str().substr(0, messages[i].size()), messages[i]);
    else
      EXPECT_EQ(match[1], messages[i]);
  }
  EXPECT_EQ(LiveBlocks(), 0u);
}

TEST_F(Lifecycle, OffersEveryHookAndCommandAndTakesThemAllBack) {
  LoadPlugin();
  EXPECT_EQ(Server().Hooks().InstalledCount(), HookableKnown());
  EXPECT_EQ(Server().Commands().console.Size(), NamesPerRegistry());
  EXPECT_EQ(Server().Commands().rcon.Size(), NamesPerRegistry());
  EXPECT_EQ(Server().Commands().chat.Names(), std::vector<std::u16string>{u"/hordesize"});
  UnloadPlugin();
  EXPECT_EQ(Server().Hooks().InstalledCount(), 0u);
  EXPECT_EQ(Commands(), 0u);
  EXPECT_EQ(Server().ErrorCount(), 0) << "the host saw leftovers after unload";
}

TEST_F(Lifecycle, ARefusedHookIsReportedAndEverythingElseStillInstalls) {
  Server().Hooks().Refuse("APrimalDinoCharacter.SetRider(AShooterCharacter*)");
  LoadPlugin();
  const Lines lines = TakeLogLines();
  EXPECT_NE(
      std::find(lines.begin(), lines.end(),
                "[Tinyhorde] Could not hook APrimalDinoCharacter.SetRider(AShooterCharacter*)"),
      lines.end());
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "[Tinyhorde] Plugin initialized successfully.");
  EXPECT_EQ(lines.back(),
            "[Tinyhorde] Loaded into a running world: 0 creature(s) at their scale, 0 restored to "
            "scale 1.0.");
  EXPECT_EQ(Server().Hooks().InstalledCount(), HookableKnown() - 1);
  EXPECT_EQ(Commands(), PluginCommands());
}

TEST_F(Lifecycle, ASecondStartWithoutUnloadReplacesTheFirstInsteadOfChainingIntoItself) {
  StartInProcess();
  auto first_logger = tinyhorde::LoggerHandle();
  tinyhorde::InitializePlugin();
  EXPECT_NE(tinyhorde::LoggerHandle(), first_logger);
  EXPECT_EQ(Server().Hooks().InstalledCount(), HookableKnown());
  EXPECT_EQ(Commands(), PluginCommands());
  // Each detour is in the chain once: a call reaches the game exactly once, without recursing.
  Run("player Alice");
  const auto spawned = Run("spawn Dreadnoughtus_Character_BP_C tamed 1");
  ASSERT_EQ(spawned.back(), "ok creature 2");
  EXPECT_NEAR(RootScale(2), 0.25, 1e-9);
  int begin_plays = 0;
  for (const auto& call : Game().Calls()) begin_plays += call.hook == sim::Hook::BeginPlay;
  EXPECT_EQ(begin_plays, 1);
}

TEST_F(Lifecycle, UnloadWithoutInitStillRemovesEverythingAndWritesNoLine) {
  tinyhorde::LoggerHandle().reset();
  TakeLogLines();
  Run("world down");
  EXPECT_NO_THROW(tinyhorde::UnloadPlugin());
  EXPECT_TRUE(TakeLogLines().empty());
  EXPECT_EQ(Server().Hooks().InstalledCount(), 0u);
}

TEST_F(Lifecycle, DebugLinesAreDroppedAndInfoLinesReachTheFileAtOnce) {
  TakeLogLines();
  tinyhorde::LogDebug("[Tinyhorde] a debug line");
  tinyhorde::LogInfo("[Tinyhorde] an info line");
  EXPECT_EQ(TakeLogLines(), Lines{"[Tinyhorde] an info line"});
  std::ifstream file(Server().Logs().File());
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("[Tinyhorde] an info line"), std::string::npos);
  EXPECT_EQ(text.find("a debug line"), std::string::npos);
}

TEST_F(Lifecycle, PendingTimersAreDroppedAtUnloadAndNothingRunsAfterTheLibraryIsClosed) {
  Run("world down");
  LoadPlugin();
  Run("player Alice");
  Run("spawn Dreadnoughtus_Character_BP_C tamed 1");
  EXPECT_EQ(Server().Clock().Pending().size(), 2u);
  UnloadPlugin();  // drops the timers, then closes the library
  EXPECT_TRUE(Server().Clock().Pending().empty());
  EXPECT_EQ(Run("wait 5"), Lines{"ok"});
  EXPECT_EQ(Server().ErrorCount(), 0);
}

TEST_F(Lifecycle, UnloadWithdrawsThePluginsPendingTimersEvenFromAHostThatKeepsThem) {
  Server().Plugin().drop_timers_at_unload = false;
  Run("world down");
  LoadPlugin();
  Run("player Alice");
  Run("spawn Dreadnoughtus_Character_BP_C tamed 1");
  Run("world up");
  EXPECT_EQ(Server().Clock().Pending().size(), 2u);
  UnloadPlugin();  // restores the creature and cancels its two timers
  EXPECT_NEAR(RootScale(2), 1.0, 1e-9);
  EXPECT_EQ(Server().Clock().Pending().size(), 0u);
  TakeLogLines();
  Run("wait 5");
  EXPECT_NEAR(RootScale(2), 1.0, 1e-9);
  EXPECT_TRUE(TakeLogLines().empty());
}

TEST_F(Lifecycle, LoadingIntoARunningWorldShrinksAndUnloadingRestores) {
  Run("player Alice");
  Run("spawn Dreadnoughtus_Character_BP_C tamed 1");
  Run("spawn Rex_Character_BP_C tamed 1");
  EXPECT_NEAR(RootScale(2), 1.0, 1e-9);
  LoadPlugin();
  EXPECT_NEAR(RootScale(2), 0.25, 1e-9);
  EXPECT_NEAR(RootScale(3), 1.0, 1e-9);
  TakeLogLines();
  UnloadPlugin();
  EXPECT_NEAR(RootScale(2), 1.0, 1e-9);
  EXPECT_NEAR(Game().CreatureObject(2)->BaseDinoScale.X, 1.0, 1e-9);
  EXPECT_EQ(Game().CameraOffsets(Game().CreatureObject(2))[0].second.X, 40.0);
  Lines lines = TakeLogLines();
  // The camera lines of the restore aside: the creature's restore, the count, in order.
  std::erase_if(lines, [](const std::string& line) { return line.find(" -> (") != line.npos; });
  EXPECT_EQ(lines, (Lines{"[Tinyhorde] Unloading...",
                          "[Tinyhorde] Restored Dreadnoughtus_Character_BP_C to normal scale 1.0 "
                          "for vanilla cryopod/SCS/cloud storage/save",
                          "[Tinyhorde] Restored 1 creature(s) to normal scale before unloading.",
                          "[Tinyhorde] Plugin unloaded."}));
}

TEST_F(Lifecycle, WithoutAWorldNothingIsResizedAtLoadOrRestoredAtUnload) {
  Run("player Alice");
  Run("spawn Dreadnoughtus_Character_BP_C tamed 1");
  Run("world down");
  LoadPlugin();
  EXPECT_NEAR(RootScale(2), 1.0, 1e-9);
  TakeLogLines();
  UnloadPlugin();
  EXPECT_EQ(TakeLogLines(), (Lines{"[Tinyhorde] Unloading...", "[Tinyhorde] Plugin unloaded."}));
}

TEST(PluginLibrary, ExportsOnlyItsTwoEntries) {
  const std::string command = "nm -D --defined-only " + std::string(TINYHORDE_PLUGIN_FILE);
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::vector<std::string> names;
  char line[4096];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::string text(line);
    text.erase(text.find_last_not_of("\r\n") + 1);
    names.push_back(text.substr(text.rfind(' ') + 1));
  }
  ASSERT_EQ(pclose(pipe), 0);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Plugin_Init", "Plugin_Unload"}));
}

}  // namespace

namespace {

// The host removes a plugin's commands by module when it unloads it; Tinyhorde removes none by
// name, so another plugin's command of the same name, registered before or after Tinyhorde's,
// still answers once Tinyhorde is gone, and Tinyhorde's own are gone.
struct OtherCommandCase {
  const char* registry;
  const char* line;      // what reaches the command
  const char* answered;  // what the other plugin's command prints
  bool other_first;
};
void PrintTo(const OtherCommandCase& c, std::ostream* os) {
  *os << c.registry << (c.other_first ? " before" : " after");
}

class OtherModuleCommand : public simtest::SimFixture,
                           public ::testing::WithParamInterface<OtherCommandCase> {};

TEST_P(OtherModuleCommand, OutlivesTinyhordesUnload) {
  const OtherCommandCase& c = GetParam();
  Run("player Ada admin");
  const std::string control = std::string("host command ") + c.registry + " bigfit.resizeall";
  if (c.other_first) Run(control);
  LoadPlugin();
  if (!c.other_first) Run(control);
  Run("wait 2");
  UnloadPlugin();
  TakeLogLines();
  const auto answer = Run(c.line);
  EXPECT_NE(std::find_if(
                answer.begin(), answer.end(),
                [&](const std::string& out) { return out.find(c.answered) != std::string::npos; }),
            answer.end())
      << c.line;
  Run("wait 2");
  // Tinyhorde's commands went with it: its status command reaches nothing.
  const std::string status = std::string(c.line).replace(
      std::string(c.line).find("bigfit.resizeall"), 16, "hordesize.status");
  for (const auto& out : Run(status)) EXPECT_EQ(out.find("[Tinyhorde]"), std::string::npos) << out;
  EXPECT_EQ(Server().Commands().console.Size() + Server().Commands().rcon.Size() +
                Server().Commands().chat.Size(),
            1u);
}

INSTANTIATE_TEST_SUITE_P(
    BothOrders, OtherModuleCommand,
    ::testing::Values(OtherCommandCase{"console", "console 1 bigfit.resizeall",
                                       "[OtherPlugin] bigfit.resizeall ran", true},
                      OtherCommandCase{"console", "console 1 bigfit.resizeall",
                                       "[OtherPlugin] bigfit.resizeall ran", false},
                      OtherCommandCase{"rcon", "rcon bigfit.resizeall",
                                       "[OtherPlugin] bigfit.resizeall ran", true},
                      OtherCommandCase{"rcon", "rcon bigfit.resizeall",
                                       "[OtherPlugin] bigfit.resizeall ran", false},
                      OtherCommandCase{"chat", "chat 1 bigfit.resizeall",
                                       "[OtherPlugin] bigfit.resizeall ran", true},
                      OtherCommandCase{"chat", "chat 1 bigfit.resizeall",
                                       "[OtherPlugin] bigfit.resizeall ran", false}),
    [](const auto& info) {
      return std::string(info.param.registry) + (info.param.other_first ? "Before" : "After");
    });

}  // namespace
