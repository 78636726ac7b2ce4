// hordesize.resizeall: which creatures it counts, what it answers on each path, and the walk
// over the world's creatures (BringWorldToSettings, RestoreAllTargets) underneath.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "commands/bulk_resize.h"
#include "commands_fixture.h"
#include "host/types.h"
#include "plugin/lifecycle.h"
#include "scaling/rider_camera.h"
#include "sim/classes.h"

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

// A creature that already holds exactly what resize-all would write is counted and left as it is;
// one that differs anywhere (a scale the game reset, a root off by a hair, a camera scale changed
// alone, offsets never scaled) is written in full. With DebugLog on each gets its line.
sim::FVector CameraBaseline(const std::string& name) {
  for (const auto& p : sim::ClassTree::StandardCameraProperties())
    if (p.name == name) return p.default_value;
  return sim::FVector{0, 0, 50};  // RiderFPVCameraOffset
}

// The creature's offsets as the game built them, and the plugin's memory of them gone: a creature
// that arrives at its scale without the plugin having met it.
void NeverMet(sim::APrimalDinoCharacter& d) {
  tinyhorde::ClearCameraStoresForTests();
  const auto& info =
      sim::ClassTree::Info(d.PrimalCharacter.Character.Pawn.Actor.Object.Base.ClassPrivate);
  for (std::size_t i = 0; i < info.properties.size(); ++i) {
    if (info.specs[i].element_size != 24) continue;
    *reinterpret_cast<sim::FVector*>(reinterpret_cast<char*>(&d) +
                                     info.properties[i]->Offset_Internal) =
        CameraBaseline(info.specs[i].name);
  }
  d.RiderFPVCameraOffset = CameraBaseline("RiderFPVCameraOffset");
}

struct HeldCase {
  const char* name;
  const char* species;
  void (*change)(sim::APrimalDinoCharacter&);
  double camera_arm_scale;  // a new DefaultCameraArmScale, or 0 for none
  bool debug;               // DebugLog switched on
  double scale;
  double camera_scale;
};

void PrintTo(const HeldCase& c, std::ostream* os) {
  *os << c.name;
}

class ResizeAllHeld : public ResizeAll, public ::testing::WithParamInterface<HeldCase> {};

TEST_P(ResizeAllHeld, WritesWhatDiffersAndCountsEveryTarget) {
  const HeldCase& c = GetParam();
  Edit([](tinyhorde::Settings& s) { s.TargetBlueprints.push_back("Yutyrannus_Character_BP"); });
  Spawn(std::string(c.species) + " tamed 1");  // 2
  Run("wait 5");
  auto* dino = Game().CreatureObject(2);
  c.change(*dino);
  if (c.camera_arm_scale != 0) {
    Edit([&](tinyhorde::Settings& s) { s.DefaultCameraArmScale = c.camera_arm_scale; });
  }
  if (c.debug) Edit([](tinyhorde::Settings& s) { s.DebugLog = true; });
  TakeLogLines();
  EXPECT_EQ(tinyhorde::BringWorldToSettings(World(), "Test").done, 1);
  for (const sim::FVector& v :
       {Game().RootScale(dino), Game().MeshScale(dino), dino->BaseDinoScale}) {
    EXPECT_EQ(v.X, c.scale);
    EXPECT_EQ(v.Y, c.scale);
    EXPECT_EQ(v.Z, c.scale);
  }
  for (const auto& [name, value] : Game().CameraOffsets(dino))
    EXPECT_DOUBLE_EQ(value.Z, c.camera_scale * CameraBaseline(name).Z) << name;
  const Lines lines = TakeLogLines();
  const auto resized = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("[Tinyhorde] Resized ", 0) == 0;
  });
  EXPECT_EQ(resized, c.debug ? 1 : 0);
  if (!c.debug) {
    EXPECT_EQ(lines, Lines{});
  }
}

constexpr const char* kDreadnought = "Dreadnoughtus_Character_BP_C";
constexpr const char* kYuty = "Yutyrannus_Character_BP_C";  // made a blueprint target: 0.5, 0.5

void Nothing(sim::APrimalDinoCharacter&) {}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResizeAllHeld,
    ::testing::Values(HeldCase{"Unchanged", kDreadnought, Nothing, 0, false, 0.25, 0.25},
                      HeldCase{"MeshResetByTheGame", kDreadnought,
                               [](sim::APrimalDinoCharacter& d) {
                                 d.PrimalCharacter.Character.Mesh->RelativeScale3D = {1, 1, 1};
                               },
                               0, false, 0.25, 0.25},
                      HeldCase{"BaseResetByTheGame", kDreadnought,
                               [](sim::APrimalDinoCharacter& d) {
                                 d.BaseDinoScale = {1, 1, 1};
                               },
                               0, false, 0.25, 0.25},
                      HeldCase{"RootOffByAHair", kDreadnought,
                               [](sim::APrimalDinoCharacter& d) {
                                 d.PrimalCharacter.Character.Pawn.Actor.RootComponent
                                     ->RelativeScale3D.Y = 0.25 + 1e-12;
                               },
                               0, false, 0.25, 0.25},
                      HeldCase{"CameraScaleChangedAlone", kYuty, Nothing, 0.3, false, 0.5, 0.3},
                      HeldCase{"OffsetsNeverScaled", kDreadnought, NeverMet, 0, false, 0.25, 0.25},
                      HeldCase{"DebugLogOn", kDreadnought, Nothing, 0, true, 0.25, 0.25}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ResizeAll, NullEntriesInTheGamesListAreSkipped) {
  Spawn("Dreadnoughtus_Character_BP_C tamed 1");   // 2
  Spawn("Giganotosaurus_Character_BP_C tamed 1");  // 3
  Game().null_actor_entries = 1;
  EXPECT_EQ(Replies("console 1 hordesize.resizeall"), Lines{Msg(1, kGreen, Resized(2))});
  EXPECT_EQ(tinyhorde::BringWorldToSettings(World(), "Test").done, 2);
  EXPECT_EQ(tinyhorde::RestoreAllTargets(World()).done, 2);
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
  EXPECT_EQ(tinyhorde::RestoreAllTargets(World()).done, 0);
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
  EXPECT_EQ(tinyhorde::RestoreAllTargets(World()).done, 2);
  EXPECT_DOUBLE_EQ(Scale(2), 1.0);
  EXPECT_EQ(tinyhorde::BringWorldToSettings(World(), "Test").done, 1);
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
  bool HooksDoNotThrowAtStart() const override { return std::string(GetParam()) == "forget"; }
  void Lose(const std::string& function) {
    LoseGameFunction(GetParam(), function);
    // A host without the name says so once, at the plugin's start-up resolution.
    const Lines logs = PluginLogLines();
    if (std::string(GetParam()) != "forget") return;
    ASSERT_FALSE(logs.empty());
    EXPECT_EQ(logs.back(), "[Tinyhorde] Game function " + function + " not found");
  }
  // The plugin's own log lines: under HooksDoNotThrow the host writes one of its own first.
  Lines PluginLogLines() {
    Lines lines = TakeLogLines();
    std::erase_if(lines, [](const std::string& line) { return line.rfind("[Tinyhorde]", 0) != 0; });
    return lines;
  }
};

// A walk that cannot list the creatures is a failure on every channel, never "Resized 0".
TEST_P(LostFunction, AGameWithoutTheCreatureListAnswersResizeFailed) {
  Spawn("Dreadnoughtus_Character_BP_C tamed 1");  // 2
  TakeLogLines();
  Lose(
      "UGameplayStatics.GetAllActorsOfClass(UObject*,TSubclassOf<AActor>,"
      "TArray<AActor*,TSizedDefaultAllocator<32>>&)");
  const std::string failed = "[Tinyhorde] Resize failed: ";
  const Lines rcon = Replies("rcon hordesize.resizeall");
  ASSERT_EQ(rcon.size(), 1u);
  EXPECT_EQ(rcon[0].rfind(Rcon(1, failed).substr(0, Rcon(1, failed).size() - 1), 0), 0u) << rcon[0];
  Lines logs = PluginLogLines();
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(logs[0].rfind("[Tinyhorde] Could not list the creatures to resize: ", 0), 0u)
      << logs[0];
  const Lines console = Replies("console 1 hordesize.setscale 0.3");
  ASSERT_EQ(console.size(), 1u);
  EXPECT_EQ(console[0].rfind(fmt::format("msg 1 {} \"{}", kRed, failed), 0), 0u) << console[0];
  logs = PluginLogLines();
  ASSERT_EQ(logs.size(), 2u);
  EXPECT_EQ(logs[1].rfind(failed, 0), 0u) << logs[1];
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

// With a storage hook refused nothing may be shrunk: every resize-all, and the resize that
// follows a setscale, says why instead of counting, while setscale still stores its value.
TEST_F(ResizeAll, WhileShrinkingIsOffEveryResizeSaysWhyAndSetScaleStillStores) {
  tinyhorde::UnloadPlugin();
  Server().Hooks().Refuse("APrimalDinoCharacter.OnCryo(AShooterPlayerController*)");
  Server().Hooks().Refuse("APrimalCharacter.Serialize(FArchive&)");
  tinyhorde::InitializePlugin();
  Edit([](tinyhorde::Settings& s) { s.DebugLog = false; });
  Spawn("Dreadnoughtus_Character_BP_C tamed 1");  // 2
  TakeLogLines();
  const std::string off =
      "[Tinyhorde] Shrinking is off: storage hooks missing: "
      "APrimalDinoCharacter.OnCryo(AShooterPlayerController*), "
      "APrimalCharacter.Serialize(FArchive&).";
  const std::pair<std::string, std::string> cases[] = {
      {"console 1 hordesize.resizeall", Msg(1, kRed, off)},
      {"rcon hordesize.resizeall", Rcon(1, off + "\n")},
      {"chat 1 /hordesize resizeall", Msg(1, kRed, off)},
      {"rcon bigfit.setscale 0.3", Rcon(2, off + "\n")},
      {"console 1 hordesize.setscale giga 0.6", Msg(1, kRed, off)},
  };
  for (const auto& [line, reply] : cases) EXPECT_EQ(Replies(line), Lines{reply}) << line;
  EXPECT_EQ(Copy().DefaultScale, 0.3);
  EXPECT_EQ(Copy().CreatureScales.at("giga"), 0.6);
  EXPECT_DOUBLE_EQ(Scale(2), 1.0);
  // The console and chat answers reach the log too; RCON's reach only the client.
  EXPECT_EQ(TakeLogLines(), (Lines{off, off, off}));
}

}  // namespace
