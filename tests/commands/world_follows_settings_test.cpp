// After a reload, a setscale or a resize-all the world holds what the settings say: what each
// channel answers and logs when creatures went back to full size, what status counts afterwards,
// and the creatures the walk must leave alone.
#include <gtest/gtest.h>

#include <string>

#include "commands/bulk_resize.h"
#include "commands_fixture.h"
#include "scaling/shrink_gate.h"
#include "scaling/shrunk_record.h"

namespace {

using namespace commandtest;

constexpr const char* kRestoredOne =
    "[Tinyhorde] Restored 1 creature(s) that the settings no longer shrink.";
constexpr const char* kReloaded =
    "[Tinyhorde] Config reloaded (25 creature scales configured, OnlyTamed=true).";
constexpr const char* kShrinkingOff = "[Tinyhorde] Shrinking is off: storage hooks missing: X.";

// The settings stop covering the wild titanosaur (2) one way or another, then one command runs.
struct ChannelCase {
  const char* name;
  const char* line;
  bool by_file;        // OnlyTamed comes back through config.json (a reload), else directly
  bool restore_only;   // shrinking is off when the line runs
  Lines replies;       // with the request id 1 and player 1
  Lines log;           // the lines the command wrote, the loader's left out
  double tamed_after;  // the scale of Ada's dreadnoughtus (3) afterwards
};

void PrintTo(const ChannelCase& c, std::ostream* os) {
  *os << c.name;
}

class WorldFollows : public CommandsTest, public testing::WithParamInterface<ChannelCase> {
 protected:
  void SetUp() override {
    CommandsTest::SetUp();
    Run("player Ada admin");  // 1
    Edit([](tinyhorde::Settings& s) { s.OnlyTamed = false; });
    Spawn("Titanosaur_Character_BP_C");             // 2: wild, shrunk while OnlyTamed is off
    Spawn("Dreadnoughtus_Character_BP_C tamed 1");  // 3
    Run("wait 5");
  }
  void TearDown() override {
    tinyhorde::SetMissingStorageHooks({});
    CommandsTest::TearDown();
  }
  // The command's own lines: the loader's line is the loader's business.
  Lines CommandLog() {
    Lines lines;
    for (auto& line : TakeLogLines())
      if (line.rfind("[Tinyhorde] Config loaded from ", 0) != 0) lines.push_back(line);
    return lines;
  }
};

TEST_P(WorldFollows, TheRestoredCreaturesAreReportedOnTheCommandsChannelAndInTheLog) {
  const ChannelCase& c = GetParam();
  ASSERT_DOUBLE_EQ(Scale(2), 0.28);
  if (c.by_file)
    WriteFile(kConfigFile, R"({"DebugLog": false, "OnlyTamed": true})");
  else
    Edit([](tinyhorde::Settings& s) { s.OnlyTamed = true; });
  if (c.restore_only) tinyhorde::SetMissingStorageHooks({"X"});
  TakeLogLines();
  EXPECT_EQ(Replies(c.line), c.replies);
  EXPECT_EQ(CommandLog(), c.log);
  EXPECT_DOUBLE_EQ(Scale(2), 1.0);
  EXPECT_DOUBLE_EQ(Scale(3), c.tamed_after);
  EXPECT_EQ(tinyhorde::RecordedShrunkCount(), c.tamed_after < 1.0 ? 1u : 0u);
  // Nothing is left to restore: the same command again carries no second line.
  if (!c.restore_only) {
    const Lines again = Replies(c.line);
    for (const auto& reply : again) EXPECT_EQ(reply.find("Restored"), std::string::npos) << reply;
  }
}

const std::string kRconReloaded = std::string(kReloaded) + "\n" + kRestoredOne + "\n";
const std::string kRconResized = Resized(1) + "\n" + kRestoredOne + "\n";

INSTANTIATE_TEST_SUITE_P(
    Channels, WorldFollows,
    testing::Values(
        ChannelCase{"ConsoleReload",
                    "console 1 hordesize.reload",
                    true,
                    false,
                    {Msg(1, kGreen, kReloaded), Msg(1, kGreen, kRestoredOne)},
                    {kReloaded, kRestoredOne},
                    0.25},
        ChannelCase{"ServerConsoleReload",
                    "console - bigfit.reload",
                    true,
                    false,
                    {},
                    {kReloaded, kRestoredOne},
                    0.25},
        ChannelCase{"RconReload",
                    "rcon hordesize.reload",
                    true,
                    false,
                    {Rcon(1, kRconReloaded)},
                    {kRestoredOne},
                    0.25},
        ChannelCase{"ChatReload",
                    "chat 1 /hordesize reload",
                    true,
                    false,
                    {Msg(1, kGreen, "[Tinyhorde] Config reloaded successfully."),
                     Msg(1, kGreen, kRestoredOne)},
                    {kRestoredOne},
                    0.25},
        ChannelCase{"ConsoleResizeAll",
                    "console 1 hordesize.resizeall",
                    false,
                    false,
                    {Msg(1, kGreen, Resized(1)), Msg(1, kGreen, kRestoredOne)},
                    {Resized(1), kRestoredOne},
                    0.25},
        ChannelCase{"RconResizeAll",
                    "rcon hordesize.resizeall",
                    false,
                    false,
                    {Rcon(1, kRconResized)},
                    {kRestoredOne},
                    0.25},
        ChannelCase{"ChatResizeAll",
                    "chat 1 /hordesize resizeall",
                    false,
                    false,
                    {Msg(1, kGreen, Resized(1)), Msg(1, kGreen, kRestoredOne)},
                    {Resized(1), kRestoredOne},
                    0.25},
        ChannelCase{"ConsoleSetScale",
                    "console 1 hordesize.setscale dreadnought 0.3",
                    false,
                    false,
                    {Msg(1, kGreen, Resized(1)), Msg(1, kGreen, kRestoredOne)},
                    {Resized(1), kRestoredOne},
                    0.3},
        ChannelCase{"RconSetScale",
                    "rcon bigfit.setscale dreadnought 0.3",
                    false,
                    false,
                    {Rcon(1, kRconResized)},
                    {kRestoredOne},
                    0.3},
        // Restore-only: the walk puts back every creature the plugin shrank, tamed or not, and
        // shrinks none; the reply keeps its refusal, the restored line follows in its colour.
        ChannelCase{"RestoreOnlyResizeAll",
                    "console 1 hordesize.resizeall",
                    false,
                    true,
                    {Msg(1, kRed, kShrinkingOff), Msg(1, kRed,
                                                      "[Tinyhorde] Restored 2 creature(s) that "
                                                      "the settings no longer shrink.")},
                    {kShrinkingOff,
                     "[Tinyhorde] Restored 2 creature(s) that the settings no longer shrink."},
                    1.0},
        ChannelCase{"RestoreOnlyRconSetScale",
                    "rcon hordesize.setscale 0.4",
                    false,
                    true,
                    {Rcon(1, std::string(kShrinkingOff) +
                                 "\n[Tinyhorde] Restored 2 creature(s) that the settings no "
                                 "longer shrink.\n")},
                    {"[Tinyhorde] Restored 2 creature(s) that the settings no longer shrink."},
                    1.0}),
    [](const auto& info) { return std::string(info.param.name); });

class WorldLeftAlone : public CommandsTest {
 protected:
  void SetUp() override {
    CommandsTest::SetUp();
    Run("player Ada admin");  // 1
  }
  void ForceScale(int id, double s) {
    auto* dino = Game().CreatureObject(id);
    dino->PrimalCharacter.Character.Pawn.Actor.RootComponent->RelativeScale3D = {s, s, s};
    dino->PrimalCharacter.Character.Mesh->RelativeScale3D = {s, s, s};
    dino->BaseDinoScale = {s, s, s};
  }
  std::string CreaturesLine() {
    const Lines replies = Replies("rcon hordesize.status");
    if (replies.empty()) return {};
    const std::string text =
        nlohmann::json::parse(replies.back().substr(replies.back().find('"'))).get<std::string>();
    const auto at = text.find("Creatures: ");
    if (at == std::string::npos) return text;
    return text.substr(at, text.find('\n', at) - at);
  }
};

// Creatures the plugin never shrank keep whatever scale they have, whether they are targets the
// settings do not cover, targets that died small, or no targets at all; status counts them as
// they are, and counts nothing the plugin changed as "other".
TEST_F(WorldLeftAlone, OnlyCreaturesThePluginShrankAreRestored) {
  Spawn("Titanosaur_Character_BP_C");  // 2: wild, given 0.6 by someone else
  Spawn("Rex_Character_BP_C");         // 3: no target, given 0.6 by someone else
  Edit([](tinyhorde::Settings& s) { s.OnlyTamed = false; });
  Spawn("Titanosaur_Character_BP_C");  // 4: wild, shrunk by the plugin
  Spawn("Titanosaur_Character_BP_C");  // 5: wild, shrunk, then dies
  Run("wait 5");
  Edit([](tinyhorde::Settings& s) { s.OnlyTamed = true; });
  ForceScale(2, 0.6);
  ForceScale(3, 0.6);
  Run("kill 5");
  EXPECT_EQ(CreaturesLine(),
            "Creatures: 2 of a target class in the world: 0 at their scale, 0 at full size, 2 "
            "other; 2 recorded as shrunk.");
  EXPECT_EQ(Replies("console 1 hordesize.resizeall"),
            (Lines{Msg(1, kGreen, Resized(0)), Msg(1, kGreen, kRestoredOne)}));
  EXPECT_DOUBLE_EQ(Scale(2), 0.6);
  EXPECT_DOUBLE_EQ(Scale(3), 0.6);
  EXPECT_DOUBLE_EQ(Scale(4), 1.0);
  EXPECT_DOUBLE_EQ(Scale(5), 0.28) << "a dead creature is left as it was";
  // The dead one is no longer counted; the one at 0.6 is another plugin's doing.
  EXPECT_EQ(CreaturesLine(),
            "Creatures: 2 of a target class in the world: 0 at their scale, 1 at full size, 1 "
            "other; 1 recorded as shrunk.");
}

// Without a world nothing is walked: a reload reads the file and answers as always, and the
// resize-all answers that there is no world.
TEST_F(WorldLeftAlone, WithTheWorldDownNothingIsWalked) {
  Edit([](tinyhorde::Settings& s) { s.OnlyTamed = false; });
  Spawn("Titanosaur_Character_BP_C");  // 2
  Run("wait 5");
  WriteFile(kConfigFile, R"({"DebugLog": false, "OnlyTamed": true})");
  Run("world down");
  EXPECT_EQ(Replies("rcon hordesize.reload"), Lines{Rcon(1, std::string(kReloaded) + "\n")});
  EXPECT_EQ(Replies("rcon hordesize.resizeall"), Lines{Rcon(2, "World not loaded.\n")});
  EXPECT_EQ(tinyhorde::BringWorldToSettings(nullptr, "Test").restored, 0);
  EXPECT_DOUBLE_EQ(Scale(2), 0.28);
  Run("world up");
  EXPECT_EQ(Replies("rcon hordesize.resizeall"),
            Lines{Rcon(3, Resized(0) + "\n" + kRestoredOne + "\n")});
  EXPECT_DOUBLE_EQ(Scale(2), 1.0);
}

}  // namespace
