// Creature selection and the scaling engine, called directly on simulated creatures.
#include <gtest/gtest.h>

#include <mutex>

#include "config/plugin_settings.h"
#include "hooks/flow_fixture.h"
#include "scaling/delayed_resize.h"
#include "scaling/rider_camera.h"
#include "scaling/scale_application.h"
#include "scaling/scale_restoration.h"
#include "selection/creature_classification.h"
#include "selection/tamed_state.h"

namespace {

using Lines = std::vector<std::string>;
using tinyhorde::ApplyCreatureScale;
using tinyhorde::ApplyMode;
using tinyhorde::RestoreNormalScale;

class Engine : public flowtest::FlowFixture {
 protected:
  void SetUp() override {
    FlowFixture::SetUp();
    Do("player Ada");  // 1
    TakeLogLines();
  }
  // A creature that has not begun play: nothing of the plugin has touched it.
  int Make(const std::string& cls, bool tamed = true) {
    const int id = Game().CreateCreature(Server().Classes().Species(cls));
    if (tamed) sim::SetBit(Dino(id)->DinoFlags, sim::kBitDidSetupTamed, true);
    return id;
  }
  host::APrimalDinoCharacter* P(int id) {
    return reinterpret_cast<host::APrimalDinoCharacter*>(Dino(id));
  }
  void Settings(const std::function<void(tinyhorde::Settings&)>& change) {
    {
      std::lock_guard<std::mutex> lock(tinyhorde::SettingsMutex);
      change(tinyhorde::PluginSettings);
    }
    tinyhorde::SettingsChanged();
  }
  void SetRoot(int id, sim::FVector v) {
    Dino(id)->PrimalCharacter.Character.Pawn.Actor.RootComponent->RelativeScale3D = v;
  }
};

// ---- classification -----------------------------------------------------------------------

TEST_F(Engine, TargetsAndTheirScalesWithTheDefaults) {
  struct Case {
    const char* cls;
    bool target;
    double scale;
  };
  for (const Case& c :
       {Case{"Dreadnoughtus_Character_BP_C", true, 0.25},
        Case{"deSERTtitan_Character_BP_C", true, 0.14}, Case{"Gigant_Character_BP_C", true, 0.75},
        Case{"Shastasaurus_Character_BP_C", true, 0.25}, Case{"Rex_Character_BP_C", false, 0}}) {
    const int id = Make(c.cls);
    EXPECT_EQ(tinyhorde::IsTargetCreature(P(id)), c.target) << c.cls;
    double scale = -1, camera = -1;
    EXPECT_EQ(tinyhorde::LookupCreatureScale(P(id), scale, camera), c.target) << c.cls;
    if (c.target) {
      EXPECT_DOUBLE_EQ(scale, c.scale) << c.cls;
      EXPECT_DOUBLE_EQ(camera, c.scale) << c.cls;
    } else {
      EXPECT_EQ(scale, -1) << "outputs untouched";
    }
  }
}

TEST_F(Engine, ANonCreatureIsNoTargetButStillHasAScaleAndNullsHaveNeither) {
  auto& actor_class = Server().Classes().ActorBlueprint("DreadnoughtStatue_C");
  auto* statue = Server().Objects().Create<sim::AActor>(&actor_class.cls,
                                                        Server().Names().Add(std::string("x")));
  EXPECT_FALSE(tinyhorde::IsTargetCreature(statue));
  double scale = -1, camera = -1;
  EXPECT_TRUE(tinyhorde::LookupCreatureScale(statue, scale, camera));
  EXPECT_DOUBLE_EQ(scale, 0.25);
  statue->Object.Base.ClassPrivate = nullptr;
  scale = camera = -1;
  EXPECT_FALSE(tinyhorde::IsTargetCreature(statue));
  EXPECT_FALSE(tinyhorde::LookupCreatureScale(statue, scale, camera));
  EXPECT_FALSE(tinyhorde::LookupCreatureScale(nullptr, scale, camera));
  EXPECT_EQ(scale, -1);
  EXPECT_FALSE(tinyhorde::IsTargetCreature(nullptr));
  Server().Objects().Destroy(&statue->Object);
}

TEST_F(Engine, TheLongerOfTwoOverlappingKeysWinsWhateverTheirOrderOfInsertion) {
  Settings([](auto& s) {
    s.CreatureScales["rex"] = 0.3;
    s.CreatureScales["rexy"] = 0.6;
    s.CreatureScales["giga"] = 0.5;  // shorter than "gigant"
  });
  double scale = 0, camera = 0;
  tinyhorde::LookupCreatureScale(P(Make("Rexy_Character_BP_C")), scale, camera);
  EXPECT_DOUBLE_EQ(scale, 0.6);
  tinyhorde::LookupCreatureScale(P(Make("Gigant_Character_BP_C")), scale, camera);
  EXPECT_DOUBLE_EQ(scale, 0.75);
  tinyhorde::LookupCreatureScale(P(Make("Giganotosaurus_Character_BP_C")), scale, camera);
  EXPECT_DOUBLE_EQ(scale, 0.5);
}

TEST_F(Engine, BlueprintOnlyTargetsTakeTheDefaultScales) {
  Settings([](auto& s) {
    s.TargetBlueprints = {"Spino_Character_BP"};
    s.DefaultScale = 0.6;
    s.DefaultCameraArmScale = 0.8;
  });
  double scale = 0, camera = 0;
  ASSERT_TRUE(tinyhorde::LookupCreatureScale(P(Make("SPINO_character_bp_C")), scale, camera));
  EXPECT_DOUBLE_EQ(scale, 0.6);
  EXPECT_DOUBLE_EQ(camera, 0.8);
  Settings([](auto& s) { s.TargetBlueprints.clear(); });
  EXPECT_FALSE(tinyhorde::IsTargetCreature(P(Make("Spino_Character_BP_C"))));
  Settings([](auto& s) { s.TargetBlueprints = {""}; });
  EXPECT_TRUE(tinyhorde::IsTargetCreature(P(Make("Raptor_Character_BP_C"))))
      << "an empty entry matches every creature";
}

// ---- tamed test ---------------------------------------------------------------------------

TEST_F(Engine, AnyOneSignOfOwnershipCountsAsTamed) {
  const int id = Make("Rex_Character_BP_C", false);
  auto* dino = Dino(id);
  auto& team = dino->PrimalCharacter.Character.Pawn.Actor.TargetingTeam;
  auto tamed = [&] { return tinyhorde::IsTamedCreature(P(id)); };
  EXPECT_FALSE(tamed()) << "wild: team equals its untamed team";
  EXPECT_FALSE(tinyhorde::IsTamedCreature(nullptr));
  team = 50000;
  EXPECT_TRUE(tamed());
  team = 49999;
  dino->UntamedTargetingTeam = 49999;
  EXPECT_FALSE(tamed());
  team = 0;
  dino->UntamedTargetingTeam = 3;
  EXPECT_FALSE(tamed()) << "team 0 never differs in a way that counts";
  team = 7;
  dino->UntamedTargetingTeam = 7;
  EXPECT_FALSE(tamed());
  dino->UntamedTargetingTeam = 3;
  EXPECT_TRUE(tamed());
  dino->UntamedTargetingTeam = 7;
  dino->OwningPlayerID = -4;
  EXPECT_FALSE(tamed());
  dino->OwningPlayerID = 1;
  EXPECT_TRUE(tamed());
  dino->OwningPlayerID = 0;
  dino->TamerString = sim::MakeGameString(u"A");  // element count 2
  EXPECT_TRUE(tamed());
  sim::ReleaseGameString(dino->TamerString);
  dino->TamerString.ArrayNum = 1;  // an empty text with its terminator only
  EXPECT_FALSE(tamed());
  dino->TamerString.ArrayNum = 0;
  dino->TamedName = sim::MakeGameString(u"Bob");
  EXPECT_TRUE(tamed());
  sim::ReleaseGameString(dino->TamedName);
  sim::SetBit(dino->DinoFlags, sim::kBitDidSetupTamed, true);
  EXPECT_TRUE(tamed());
  sim::SetBit(dino->DinoFlags, sim::kBitDidSetupTamed, false);
  dino->UntamedTargetingTeam = 3;
  EXPECT_TRUE(tamed()) << "the untamed team decides";
  Server().Faults().Fail("APrimalDinoCharacter.GetUntamedTargetingTeam()");
  EXPECT_FALSE(tamed()) << "a failed game call answers false";
}

// ---- applying the scale -------------------------------------------------------------------

TEST_F(Engine, TheAlreadyAtScaleTestUsesAStrictToleranceAndForceSkipsIt) {
  const int id = Make("Mosasaur_Character_BP_C");  // 0.5
  SetRoot(id, {0.5, 0.5, 0.5});
  EXPECT_FALSE(ApplyCreatureScale(P(id), "t", ApplyMode::kUnlessAtScale));
  EXPECT_DOUBLE_EQ(Base(id).X, 1.0) << "nothing written";
  EXPECT_TRUE(TakeLogLines().empty());
  SetRoot(id, {0.5, 0.5, 0.5049});
  EXPECT_FALSE(ApplyCreatureScale(P(id), "t", ApplyMode::kUnlessAtScale));
  SetRoot(id, {0.5, 0.5, 0.505});
  EXPECT_TRUE(ApplyCreatureScale(P(id), "t", ApplyMode::kUnlessAtScale));
  EXPECT_DOUBLE_EQ(Root(id).Z, 0.5);
  SetRoot(id, {0.5, 0.5, std::nan("")});
  EXPECT_TRUE(ApplyCreatureScale(P(id), "t", ApplyMode::kUnlessAtScale))
      << "a difference that is not a number";
  TakeLogLines();
  EXPECT_TRUE(ApplyCreatureScale(P(id), "Forced", ApplyMode::kForce));
  const Lines lines = TakeLogLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(),
            "[Tinyhorde] Resized Mosasaur_Character_BP_C to Rex scale 0.5000 (Cam: 0.5000, "
            "Context: Forced)");
}

TEST_F(Engine, DeadDyingWildAndUnconfiguredCreaturesAreTurnedAway) {
  const int dead = Make("Dreadnoughtus_Character_BP_C");
  Do("kill " + std::to_string(dead));
  EXPECT_FALSE(ApplyCreatureScale(P(dead), "t", ApplyMode::kForce));
  const int dying = Make("Dreadnoughtus_Character_BP_C");
  sim::SetBit(Dino(dying)->PrimalCharacter.Character.Pawn.Actor.ActorFlags,
              sim::kBitActorIsBeingDestroyed, true);
  EXPECT_FALSE(ApplyCreatureScale(P(dying), "t", ApplyMode::kForce));
  const int wild = Make("Dreadnoughtus_Character_BP_C", false);
  EXPECT_FALSE(ApplyCreatureScale(P(wild), "t", ApplyMode::kForce));
  Settings([](auto& s) { s.OnlyTamed = false; });
  EXPECT_TRUE(ApplyCreatureScale(P(wild), "t", ApplyMode::kForce));
  EXPECT_FALSE(ApplyCreatureScale(P(Make("Rex_Character_BP_C")), "t", ApplyMode::kForce));
  EXPECT_FALSE(ApplyCreatureScale(nullptr, "t", ApplyMode::kForce));
  EXPECT_DOUBLE_EQ(Root(dead).X, 1.0);
  EXPECT_DOUBLE_EQ(Root(dying).X, 1.0);
}

TEST_F(Engine, MissingComponentsAndFailedWritesDoNotStopTheOtherSteps) {
  const int no_root = Make("Dreadnoughtus_Character_BP_C");
  Dino(no_root)->PrimalCharacter.Character.Pawn.Actor.RootComponent = nullptr;
  EXPECT_TRUE(ApplyCreatureScale(P(no_root), "t", ApplyMode::kUnlessAtScale));
  EXPECT_DOUBLE_EQ(Base(no_root).X, 0.25);

  const int no_mesh = Make("Dreadnoughtus_Character_BP_C");
  Dino(no_mesh)->PrimalCharacter.Character.Mesh = nullptr;
  EXPECT_TRUE(ApplyCreatureScale(P(no_mesh), "t", ApplyMode::kForce));
  EXPECT_DOUBLE_EQ(Root(no_mesh).X, 0.25);
  EXPECT_DOUBLE_EQ(Camera(no_mesh, "TPVDefaultCameraOffset").X, 10.0);

  // Restoring writes each place under its own guard: with the game's scale function failing,
  // the base, the root and the mesh are still put back.
  const int guarded = Make("Dreadnoughtus_Character_BP_C");
  EXPECT_TRUE(ApplyCreatureScale(P(guarded), "t", ApplyMode::kForce));
  Server().Faults().Fail("AActor.SetActorRelativeScale3D(UE::Math::TVector<double>)");
  EXPECT_TRUE(RestoreNormalScale(P(guarded)));
  EXPECT_DOUBLE_EQ(Base(guarded).X, 1.0);
  EXPECT_DOUBLE_EQ(Root(guarded).X, 1.0);
  EXPECT_DOUBLE_EQ(Mesh(guarded).X, 1.0);
  EXPECT_EQ(LiveBlocks(), 0u);
}

TEST_F(Engine, WithDebugLogOffNothingIsLoggedButEverythingIsWritten) {
  Settings([](auto& s) { s.DebugLog = false; });
  const int id = Make("Dreadnoughtus_Character_BP_C");
  EXPECT_TRUE(ApplyCreatureScale(P(id), "t", ApplyMode::kForce));
  EXPECT_TRUE(RestoreNormalScale(P(id)));
  EXPECT_TRUE(TakeLogLines().empty());
  EXPECT_DOUBLE_EQ(Camera(id, "TPVDefaultCameraOffset").X, 40.0);
}

TEST_F(Engine, RestoringWorksOnAnyTargetAndLogsEachTime) {
  const int wild_dead = Make("Dreadnoughtus_Character_BP_C", false);
  Do("kill " + std::to_string(wild_dead));
  SetRoot(wild_dead, {0.25, 0.25, 0.25});
  EXPECT_TRUE(RestoreNormalScale(P(wild_dead)));
  EXPECT_DOUBLE_EQ(Root(wild_dead).X, 1.0);
  TakeLogLines();
  EXPECT_TRUE(RestoreNormalScale(P(wild_dead)));
  const Lines lines = TakeLogLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(),
            "[Tinyhorde] Restored Dreadnoughtus_Character_BP_C to normal scale 1.0 for vanilla "
            "cryopod/SCS/cloud storage/save");
  EXPECT_FALSE(RestoreNormalScale(P(Make("Rex_Character_BP_C"))));
  EXPECT_FALSE(RestoreNormalScale(nullptr));
}

// ---- rider camera ---------------------------------------------------------------------------

TEST_F(Engine, CameraOffsetsScaleFromTheirBaselinesAndNeverCompound) {
  const int id = Make("Dreadnoughtus_Character_BP_C");
  tinyhorde::ScaleRiderCamera(P(id), 0.5);
  const Lines lines = TakeLogLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "[Tinyhorde] Stored orig TPVDefaultCameraOffset = (40.0, 0.0, 20.0)");
  EXPECT_EQ(lines[1],
            "[Tinyhorde] Scaled TPVDefaultCameraOffset -> (20.0, 0.0, 10.0) [scale=0.50]");
  tinyhorde::ScaleRiderCamera(P(id), 0.5);
  EXPECT_DOUBLE_EQ(Camera(id, "TPVDefaultCameraOffset").X, 20.0);
  EXPECT_DOUBLE_EQ(Camera(id, "RiderFPVCameraOffset").Z, 25.0);
  tinyhorde::ScaleRiderCamera(P(id), 1.0);
  EXPECT_DOUBLE_EQ(Camera(id, "TPVDefaultCameraOffset").X, 40.0);
  EXPECT_DOUBLE_EQ(Camera(id, "RiderFPVCameraOffset").Z, 50.0);
  EXPECT_EQ(LiveBlocks(), 0u);
}

TEST_F(Engine, NearMissPropertiesAreLeftAloneAndAClassWithoutOffsetsStillGetsAnEntry) {
  auto& odd = Server().Classes().SpeciesWith(
      "OddDreadnought_Character_BP_C",
      {{"tpvDefaultCameraOffset", 24, {40, 0, 20}}, {"TPVAimingCameraOffset", 12, {60, 0, 0}}});
  const int id = Game().CreateCreature(odd);
  auto at = [&](std::size_t i) -> double& {
    return *reinterpret_cast<double*>(reinterpret_cast<char*>(Dino(id)) +
                                      odd.properties[i]->Offset_Internal);
  };
  at(2) = 60.0;  // the first double of the 12-byte property
  const std::size_t before = tinyhorde::CameraStoreSizeForTests();
  tinyhorde::ScaleRiderCamera(P(id), 0.5);
  EXPECT_EQ(tinyhorde::CameraStoreSizeForTests(), before + 1);
  EXPECT_DOUBLE_EQ(at(1), 40.0);
  EXPECT_DOUBLE_EQ(at(2), 60.0);
  EXPECT_DOUBLE_EQ(Dino(id)->RiderFPVCameraOffset.Z, 25.0) << "only the rider offset moves";
}

TEST_F(Engine, ACreatureFirstSeenAtFullSizeKeepsItsOffsets) {
  const int id = Make("Dreadnoughtus_Character_BP_C");
  EXPECT_TRUE(RestoreNormalScale(P(id)));
  EXPECT_DOUBLE_EQ(Camera(id, "TPVAimingCameraOffset").Y, 30.0);
}

TEST_F(Engine, ForgettingACreatureLetsOneAtTheSameAddressStartAfresh) {
  const int first = Make("Dreadnoughtus_Character_BP_C");
  tinyhorde::ScaleRiderCamera(P(first), 0.5);
  void* address = Dino(first);
  Game().RemoveCreature(Dino(first));
  const int second = Make("Dreadnoughtus_Character_BP_C");
  ASSERT_EQ(static_cast<void*>(Dino(second)), address);
  Dino(second)->RiderFPVCameraOffset = {0, 0, 80};
  tinyhorde::ForgetCreatureCamera(address);
  tinyhorde::ScaleRiderCamera(P(second), 0.5);
  EXPECT_DOUBLE_EQ(Camera(second, "RiderFPVCameraOffset").Z, 40.0);
}

// ---- delayed re-application ---------------------------------------------------------------

TEST_F(Engine, TimersGetConsecutiveNamesAndReApplyThroughAWeakReference) {
  StartInProcess();
  const auto serial = tinyhorde::TimerSerialForTests();
  tinyhorde::ScheduleDelayedResize(nullptr, "x", 1);
  EXPECT_EQ(tinyhorde::TimerSerialForTests(), serial);
  EXPECT_TRUE(Server().Clock().Pending().empty());
  const int id = Make("Dreadnoughtus_Character_BP_C");
  tinyhorde::ScheduleDelayedResize(P(id), nullptr, 1);
  tinyhorde::ScheduleDelayedResize(P(id), "Later", 3);
  const auto& pending = Server().Clock().Pending();
  ASSERT_EQ(pending.size(), 2u);
  EXPECT_EQ(pending[0].identifier,
            sim::Utf8ToUtf16("Tinyhorde_Timer_" + std::to_string(serial + 1)));
  EXPECT_EQ(pending[1].identifier,
            sim::Utf8ToUtf16("Tinyhorde_Timer_" + std::to_string(serial + 2)));
  EXPECT_EQ(pending[0].module,
            sim::Utf8ToUtf16(std::filesystem::canonical("/proc/self/exe").string()));
  TakeLogLines();
  Do("wait 1");
  EXPECT_DOUBLE_EQ(Root(id).X, 0.25);
  EXPECT_EQ(TakeLogLines().back(),
            "[Tinyhorde] Resized Dreadnoughtus_Character_BP_C to Rex scale 0.2500 (Cam: 0.2500, "
            "Context: Delayed)");
  Do("wait 2");
  EXPECT_EQ(TakeLogLines().back().find("Context: Later)") != std::string::npos, true)
      << "already at scale, written and logged again";
  EXPECT_EQ(LiveBlocks(), 0u);
}

TEST_F(Engine, ATimerWhoseCreatureIsGoneOrDeadDoesNothing) {
  StartInProcess();
  const int gone = Make("Dreadnoughtus_Character_BP_C");
  const int dead = Make("Dreadnoughtus_Character_BP_C");
  tinyhorde::ScheduleDelayedResize(P(gone), "x", 1);
  tinyhorde::ScheduleDelayedResize(P(dead), "x", 1);
  Game().RemoveCreature(Dino(gone));
  const int reused = Make("Dreadnoughtus_Character_BP_C");  // at the gone one's address
  Do("kill " + std::to_string(dead));
  Do("wait 1");
  EXPECT_DOUBLE_EQ(Root(reused).X, 1.0) << "the weak reference does not follow the address";
  EXPECT_DOUBLE_EQ(Root(dead).X, 1.0);
}

// ---- camera arm -----------------------------------------------------------------------------

TEST_F(Engine, TheArmLengthFollowsTheCameraScaleOfQualifyingCreaturesOnly) {
  StartInProcess();
  const int tamed = Make("Dreadnoughtus_Character_BP_C");
  const int wild = Make("Dreadnoughtus_Character_BP_C", false);
  const int rex = Make("Rex_Character_BP_C");
  const int mosa = Make("Mosasaur_Character_BP_C");
  EXPECT_FLOAT_EQ(Game().Camera(tamed, false), 200.f);
  EXPECT_FLOAT_EQ(Game().Camera(tamed, true), 200.f) << "a creature through the character overload";
  EXPECT_FLOAT_EQ(Game().Camera(wild, false), 800.f);
  EXPECT_FLOAT_EQ(Game().Camera(rex, false), 800.f);
  EXPECT_FLOAT_EQ(Game().Camera(1, false), 300.f) << "on foot";
  Do("ride " + std::to_string(rex) + " 1");
  EXPECT_FLOAT_EQ(Game().Camera(1, false), 800.f);
  Do("dismount " + std::to_string(rex));
  Do("ride " + std::to_string(mosa) + " 1");
  EXPECT_FLOAT_EQ(Game().Camera(1, false), 400.f);
  EXPECT_FLOAT_EQ(Game().Camera(1, true), 400.f);
  Settings([](auto& s) { s.OnlyTamed = false; });
  EXPECT_FLOAT_EQ(Game().Camera(wild, false), 200.f);
}

}  // namespace
