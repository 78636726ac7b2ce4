// hordesize.resizeall: which creatures it counts, what it answers on each path, and the walk
// over the world's creatures (ResizeAllTargets, RestoreAllTargets) underneath.
#include <gtest/gtest.h>

#include <string>

#include "commands/bulk_resize.h"
#include "commands_fixture.h"
#include "host/types.h"

namespace {

using namespace commandtest;

class ResizeAll : public CommandsTest {
 protected:
  void SetUp() override {
    CommandsTest::SetUp();
    Run("player Ada admin");  // 1
  }
  host::UWorld* World() { return reinterpret_cast<host::UWorld*>(Game().World()); }
};

TEST_F(ResizeAll, NoCreaturesCountsZero) {
  EXPECT_EQ(Replies("console 1 hordesize.resizeall"), Lines{Msg(1, kGreen, Resized(0))});
  EXPECT_EQ(TakeLogLines(), Lines{Resized(0)});
  EXPECT_EQ(Replies("rcon hordesize.resizeall"), Lines{Rcon(1, Resized(0) + "\n")});
  EXPECT_EQ(TakeLogLines(), Lines{});
}

TEST_F(ResizeAll, ATamedTargetAlreadyAtScaleIsCountedEveryTime) {
  Spawn("Dreadnoughtus_Character_BP_C tamed 1");  // 2
  ASSERT_DOUBLE_EQ(Scale(2), 0.25);
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(Replies("console 1 hordesize.resizeall"), Lines{Msg(1, kGreen, Resized(1))});
    EXPECT_EQ(TakeLogLines(), Lines{Resized(1)});
  }
  EXPECT_DOUBLE_EQ(Scale(2), 0.25);
}

TEST_F(ResizeAll, NullEntriesInTheGamesListAreSkipped) {
  Spawn("Dreadnoughtus_Character_BP_C tamed 1");   // 2
  Spawn("Giganotosaurus_Character_BP_C tamed 1");  // 3
  Game().null_actor_entries = 1;
  EXPECT_EQ(Replies("console 1 hordesize.resizeall"), Lines{Msg(1, kGreen, Resized(2))});
  EXPECT_EQ(tinyhorde::ResizeAllTargets(World(), "Test"), 2);
  EXPECT_EQ(tinyhorde::RestoreAllTargets(World()), 2);
}

TEST_F(ResizeAll, AWildTargetCountsOnlyWhenOnlyTamedIsOff) {
  Spawn("Titanosaur_Character_BP_C");  // 2, wild
  ASSERT_DOUBLE_EQ(Scale(2), 1.0);
  EXPECT_EQ(Replies("console 1 hordesize.resizeall"), Lines{Msg(1, kGreen, Resized(0))});
  EXPECT_DOUBLE_EQ(Scale(2), 1.0);
  Edit([](tinyhorde::Settings& s) { s.OnlyTamed = false; });
  EXPECT_EQ(Replies("console 1 hordesize.resizeall"), Lines{Msg(1, kGreen, Resized(1))});
  EXPECT_DOUBLE_EQ(Scale(2), 0.28);
}

TEST_F(ResizeAll, ACreatureThatIsNoTargetIsNeverTouched) {
  Spawn("Rex_Character_BP_C tamed 1");  // 2
  Edit([](tinyhorde::Settings& s) { s.OnlyTamed = false; });
  const Lines state_before = Run("state");
  EXPECT_EQ(Replies("console 1 hordesize.resizeall"), Lines{Msg(1, kGreen, Resized(0))});
  EXPECT_EQ(Run("state"), state_before);
  EXPECT_EQ(tinyhorde::RestoreAllTargets(World()), 0);
  EXPECT_EQ(Run("state"), state_before);
}

TEST_F(ResizeAll, ADeadTargetIsNotCounted) {
  Spawn("Dreadnoughtus_Character_BP_C tamed 1");   // 2
  Spawn("Giganotosaurus_Character_BP_C tamed 1");  // 3
  Run("kill 2");
  EXPECT_EQ(Replies("console 1 hordesize.resizeall"), Lines{Msg(1, kGreen, Resized(1))});
}

TEST_F(ResizeAll, RestoringCountsEveryTargetTamedOrWild) {
  Spawn("Dreadnoughtus_Character_BP_C tamed 1");  // 2
  Spawn("Titanosaur_Character_BP_C");             // 3, wild
  Spawn("Rex_Character_BP_C tamed 1");            // 4
  EXPECT_EQ(tinyhorde::RestoreAllTargets(World()), 2);
  EXPECT_DOUBLE_EQ(Scale(2), 1.0);
  EXPECT_EQ(tinyhorde::ResizeAllTargets(World(), "Test"), 1);
  EXPECT_DOUBLE_EQ(Scale(2), 0.25);
  EXPECT_DOUBLE_EQ(Scale(3), 1.0);
}

TEST_F(ResizeAll, TheOldNameAndACallerInAnyCaseWork) {
  Spawn("Dreadnoughtus_Character_BP_C tamed 1");  // 2
  EXPECT_EQ(Replies("console 1 bigfit.resizeall"), Lines{Msg(1, kGreen, Resized(1))});
  EXPECT_EQ(Replies("rcon BIGFIT.RESIZEALL"), Lines{Rcon(1, Resized(1) + "\n")});
}

TEST_F(ResizeAll, WithoutACallerOnlyTheLogHearsOfIt) {
  Spawn("Dreadnoughtus_Character_BP_C tamed 1");  // 2
  TakeLogLines();
  EXPECT_EQ(Replies("console - hordesize.resizeall"), Lines{});
  EXPECT_EQ(TakeLogLines(), Lines{Resized(1)});
  EXPECT_DOUBLE_EQ(Scale(2), 0.25);
}

// Without a world no player is connected, so a reply to a player is dropped; RCON still hears.
TEST_F(ResizeAll, WithTheWorldDownOnlyRconIsToldAndNothingIsLogged) {
  Spawn("Dreadnoughtus_Character_BP_C tamed 1");  // 2
  TakeLogLines();
  Run("world down");
  EXPECT_EQ(Replies("console 1 hordesize.resizeall"), Lines{});
  // The game has no chat without a world.
  EXPECT_EQ(Run("chat 1 /hordesize resizeall"),
            Lines{"error there is no chat while no world is up"});
  EXPECT_EQ(Replies("rcon hordesize.resizeall"), Lines{Rcon(1, "World not loaded.\n")});
  EXPECT_EQ(Run("console - hordesize.resizeall"), Lines{"ok"});
  EXPECT_EQ(TakeLogLines(), Lines{});
}

TEST_F(ResizeAll, WithTheWorldDownSetScaleStoresTheValueAnyway) {
  Run("world down");
  EXPECT_EQ(Replies("console 1 hordesize.setscale 0.3"), Lines{});
  EXPECT_EQ(Copy().DefaultScale, 0.3);
  EXPECT_EQ(Replies("rcon hordesize.setscale giga 0.6"), Lines{Rcon(1, "World not loaded.\n")});
  EXPECT_EQ(Copy().CreatureScales.at("giga"), 0.6);
  EXPECT_EQ(TakeLogLines(), Lines{});
  Run("world up");
  Spawn("Giganotosaurus_Character_BP_C tamed 1");  // 2
  EXPECT_DOUBLE_EQ(Scale(2), 0.6);
}

// A game function that is lost fails the same way whether the host does not know its name (a
// host with HooksDoNotThrow; any other host would end the server) or the function raises.
class LostFunction : public ResizeAll, public ::testing::WithParamInterface<const char*> {
 protected:
  void Lose(const std::string& function) {
    if (std::string(GetParam()) == "forget") SetHooksDoNotThrow();
    Run(std::string("host ") + GetParam() + " " + function);
  }
  // The plugin's own log lines: under HooksDoNotThrow the host writes one of its own first.
  Lines PluginLogLines() {
    Lines lines = TakeLogLines();
    std::erase_if(lines, [](const std::string& line) { return line.rfind("[Tinyhorde]", 0) != 0; });
    return lines;
  }
};

TEST_P(LostFunction, AGameWithoutTheCreatureListIsReportedAndCountsZero) {
  Spawn("Dreadnoughtus_Character_BP_C tamed 1");  // 2
  TakeLogLines();
  Lose(
      "UGameplayStatics.GetAllActorsOfClass(UObject*,TSubclassOf<AActor>,"
      "TArray<AActor*,TSizedDefaultAllocator<32>>&)");
  EXPECT_EQ(Replies("rcon hordesize.resizeall"), Lines{Rcon(1, Resized(0) + "\n")});
  const Lines logs = PluginLogLines();
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(logs[0].rfind("[Tinyhorde] Could not list the creatures to resize: ", 0), 0u)
      << logs[0];
}

TEST_P(LostFunction, ALostReplyFunctionIsLoggedAndNothingEscapes) {
  Lose("RCONClientConnection.SendMessage(int,int,FString&)");
  EXPECT_EQ(Replies("rcon hordesize.resizeall"), Lines{});
  const Lines logs = PluginLogLines();
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(logs[0].rfind("[Tinyhorde] RCON resizeall failed: ", 0), 0u) << logs[0];
}

INSTANTIATE_TEST_SUITE_P(ForgottenOrFailing, LostFunction, ::testing::Values("forget", "fail"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
