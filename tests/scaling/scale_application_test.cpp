// Shrinking one creature (ApplyCreatureScale) and putting it back to 1.0 (RestoreNormalScale):
// which creatures qualify, which fields are written, the already-at-scale tolerance, the debug
// line, and that a field the game does not know only skips its own step.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <string>

#include "scaling/scaling_fixture.h"
#include "scaling/shrunk_record.h"
#include "selection/creature_classification.h"

namespace scalingtest {
namespace {

constexpr const char* kDread = "Dreadnoughtus_Character_BP_C";  // key "dreadnought": 0.25
constexpr const char* kMosa = "Mosasaur_Character_BP_C";        // key "mosasaur": 0.5

class Application : public ScalingFixture {};

TEST_F(Application, TamedTargetIsShrunkEverywhere) {
  const int id = MakeTamed(kDread);
  const sim::FVector tpv = Offset(id, "TPVDefaultCameraOffset");
  const sim::FVector rider = Offset(id, "RiderFPVCameraOffset");
  EXPECT_TRUE(Apply(id));
  ExpectAllScales(id, 0.25);
  EXPECT_TRUE(Same(Offset(id, "TPVDefaultCameraOffset"), Times(0.25, tpv)));
  EXPECT_TRUE(Same(Offset(id, "RiderFPVCameraOffset"), Times(0.25, rider)));
}

// The line names the class as the game spells it; only matching uses the lowered name.
TEST_F(Application, DebugLineNamesTheClassScalesAndContext) {
  const int id = MakeTamed(kDread);
  TakeLogLines();
  ASSERT_TRUE(Apply(id, "UnitTest", false));
  EXPECT_EQ(TakeLinesStartingWith("[Tinyhorde] Resized"),
            Lines{"[Tinyhorde] Resized Dreadnoughtus_Character_BP_C to Rex scale 0.2500 (Cam: "
                  "0.2500, Context: UnitTest)"});
}

TEST_F(Application, WithDebugLogOffNothingIsLoggedButTheCreatureIsShrunkAndRestored) {
  WithSettings([](tinyhorde::Settings& s) { s.DebugLog = false; });
  const int id = MakeTamed(kDread);
  const sim::FVector tpv = Offset(id, "TPVDefaultCameraOffset");
  TakeLogLines();
  EXPECT_TRUE(Apply(id));
  ExpectAllScales(id, 0.25);
  EXPECT_EQ(TakeLogLines(), Lines{});
  EXPECT_TRUE(Restore(id));
  ExpectAllScales(id, 1.0);
  EXPECT_TRUE(Same(Offset(id, "TPVDefaultCameraOffset"), tpv));
  EXPECT_EQ(TakeLogLines(), Lines{});
}

TEST_F(Application, NullCreatureIsRefused) {
  EXPECT_FALSE(Apply(nullptr, "Test", true));
}

// Creatures that never qualify, force or not: nothing of theirs is written.
struct RefusedCase {
  const char* name;
  const char* species;
  bool tamed;
  void (*prepare)(ScalingFixture&, int);
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
  *os << c.name;
}

class Refused : public Application,
                public ::testing::WithParamInterface<std::tuple<RefusedCase, bool>> {
 public:
  using ScalingFixture::Dino;
  using simtest::SimFixture::Game;
};

TEST_P(Refused, LeavesTheCreatureUntouched) {
  const auto& [c, force] = GetParam();
  const int id = c.tamed ? MakeTamed(c.species) : Make(c.species);
  c.prepare(*this, id);
  const sim::FVector tpv = Offset(id, "TPVDefaultCameraOffset");
  TakeLogLines();
  EXPECT_FALSE(Apply(id, "Test", force));
  ExpectAllScales(id, 1.0);
  EXPECT_TRUE(Same(Offset(id, "TPVDefaultCameraOffset"), tpv));
  EXPECT_EQ(TakeLogLines(), Lines{});
  EXPECT_EQ(tinyhorde::CameraStoreSizeForTests(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    NotQualifying, Refused,
    ::testing::Combine(::testing::Values(
                           RefusedCase{"Dead", kDread, true,
                                       [](ScalingFixture& f, int id) {
                                         static_cast<Refused&>(f).Game().Kill(id);
                                       }},
                           RefusedCase{"BeingDestroyed", kDread, true,
                                       [](ScalingFixture& f, int id) {
                                         sim::SetBit(
                                             static_cast<Refused&>(f)
                                                 .Dino(id)
                                                 ->PrimalCharacter.Character.Pawn.Actor.ActorFlags,
                                             sim::kBitActorIsBeingDestroyed, true);
                                       }},
                           RefusedCase{"NotATarget", "Rex_Character_BP_C", true,
                                       [](ScalingFixture&, int) {}},
                           RefusedCase{"WildWithOnlyTamed", kDread,
                                       false, [](ScalingFixture&, int) {}},
                           RefusedCase{"ShrinkingNotAllowed", kDread, true,
                                       [](ScalingFixture&, int) {
                                         tinyhorde::SetMissingStorageHooks(
                                             {"APrimalCharacter.Serialize(FArchive&)"});
                                       }}),
                       ::testing::Bool()),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) +
             (std::get<1>(info.param) ? "_Forced" : "_Unforced");
    });

TEST_F(Application, WildTargetIsShrunkWhenOnlyTamedIsOff) {
  WithSettings([](tinyhorde::Settings& s) { s.OnlyTamed = false; });
  const int id = Make(kDread);
  EXPECT_TRUE(Apply(id));
  ExpectAllScales(id, 0.25);
}

// The already-at-scale test: within 0.005 on every axis, strictly.
struct ToleranceCase {
  const char* name;
  sim::FVector root;
  bool applies;
};

void PrintTo(const ToleranceCase& c, std::ostream* os) {
  *os << c.name;
}

class Tolerance : public Application, public ::testing::WithParamInterface<ToleranceCase> {};

TEST_P(Tolerance, UnforcedApplicationSkipsOnlyACreatureAlreadyAtScale) {
  const auto& c = GetParam();
  const int id = MakeTamed(kMosa);
  Dino(id)->PrimalCharacter.Character.Pawn.Actor.RootComponent->RelativeScale3D = c.root;
  TakeLogLines();
  EXPECT_EQ(Apply(id), c.applies);
  if (c.applies) {
    ExpectAllScales(id, 0.5);
    EXPECT_EQ(TakeLinesStartingWith("[Tinyhorde] Resized").size(), 1u);
  } else {
    EXPECT_TRUE(Same(Root(id), c.root));
    EXPECT_TRUE(Same(Base(id), Uniform(1.0))) << "a skipped creature gets no BaseDinoScale";
    EXPECT_TRUE(Same(Mesh(id), Uniform(1.0)));
    EXPECT_EQ(TakeLogLines(), Lines{});
  }
}

TEST_P(Tolerance, ForcedApplicationAlwaysWrites) {
  const auto& c = GetParam();
  const int id = MakeTamed(kMosa);
  Dino(id)->PrimalCharacter.Character.Pawn.Actor.RootComponent->RelativeScale3D = c.root;
  TakeLogLines();
  EXPECT_TRUE(Apply(id, "Test", true));
  ExpectAllScales(id, 0.5);
  EXPECT_EQ(TakeLinesStartingWith("[Tinyhorde] Resized").size(), 1u) << "logged even at scale";
}

INSTANTIATE_TEST_SUITE_P(
    RootScales, Tolerance,
    ::testing::Values(ToleranceCase{"Exact", {0.5, 0.5, 0.5}, false},
                      ToleranceCase{"JustInsideAbove", {0.5, 0.5, 0.5049}, false},
                      ToleranceCase{"JustInsideBelow", {0.4951, 0.5, 0.5}, false},
                      ToleranceCase{"OnTheEdgeOfZ", {0.5, 0.5, 0.505}, true},
                      ToleranceCase{"OnTheEdgeOfX", {0.495, 0.5, 0.5}, true},
                      ToleranceCase{"OnlyYOff", {0.5, 0.52, 0.5}, true},
                      ToleranceCase{"FullSize", {1.0, 1.0, 1.0}, true},
                      ToleranceCase{"NotANumber", {0.5, 0.5, std::nan("")}, true}),
    [](const auto& info) { return std::string(info.param.name); });

// 0.505 - 0.5 is a little above 0.005 in binary, so the cases above cannot tell "<" from "<=".
// With a scale of 2^-10, scale + 0.005 is exact and the difference is the tolerance itself,
// which does not count as at scale.
TEST_F(Application, DifferenceOfExactlyTheToleranceIsNotAtScale) {
  const double scale = std::ldexp(1.0, -10);
  const double edge = scale + tinyhorde::kAtScaleTolerance;
  ASSERT_EQ(edge - scale, tinyhorde::kAtScaleTolerance);
  WithSettings([&](tinyhorde::Settings& s) { s.CreatureScales = {{"dreadnought", scale}}; });
  for (int axis = 0; axis < 3; ++axis) {
    SCOPED_TRACE(axis);
    const int id = MakeTamed(kDread);
    sim::FVector root = Uniform(scale);
    (axis == 0 ? root.X : axis == 1 ? root.Y : root.Z) = edge;
    Dino(id)->PrimalCharacter.Character.Pawn.Actor.RootComponent->RelativeScale3D = root;
    EXPECT_TRUE(Apply(id));
    ExpectAllScales(id, scale);
  }
}

// Without a root component there is nothing to compare, so the unforced call applies.
TEST_F(Application, CreatureWithoutRootComponentIsApplied) {
  const int id = MakeTamed(kDread);
  auto& actor = Dino(id)->PrimalCharacter.Character.Pawn.Actor;
  sim::USceneComponent* const root = actor.RootComponent;
  actor.RootComponent = nullptr;
  EXPECT_TRUE(Apply(id));
  EXPECT_TRUE(Same(Base(id), Uniform(0.25)));
  EXPECT_TRUE(Same(Mesh(id), Uniform(0.25)));
  actor.RootComponent = root;
  EXPECT_TRUE(Same(Root(id), Uniform(1.0)));
}

TEST_F(Application, CreatureWithoutMeshIsApplied) {
  const int id = MakeTamed(kDread);
  const sim::FVector tpv = Offset(id, "TPVDefaultCameraOffset");
  auto& character = Dino(id)->PrimalCharacter.Character;
  sim::USceneComponent* const mesh = character.Mesh;
  character.Mesh = nullptr;
  EXPECT_TRUE(Apply(id));
  EXPECT_TRUE(Same(Root(id), Uniform(0.25)));
  EXPECT_TRUE(Same(Base(id), Uniform(0.25)));
  EXPECT_TRUE(Same(Offset(id, "TPVDefaultCameraOffset"), Times(0.25, tpv))) << "camera too";
  character.Mesh = mesh;
  EXPECT_TRUE(Same(Mesh(id), Uniform(1.0)));
}

// A creature shrunk before, then applied at a configured scale of exactly 1.0 (camera included):
// it is at full size, so it is no longer recorded as shrunk.
TEST_F(Application, AScaleOfExactlyOneLeavesNoShrunkRecord) {
  const int id = MakeTamed(kDread);
  ASSERT_TRUE(Apply(id));
  ASSERT_TRUE(tinyhorde::IsRecordedShrunk(Host(id)));
  WithSettings([](tinyhorde::Settings& s) { s.CreatureScales["dreadnought"] = 1.0; });
  EXPECT_TRUE(Apply(id, "Test", true));
  ExpectAllScales(id, 1.0);
  EXPECT_FALSE(tinyhorde::IsRecordedShrunk(Host(id)));
  WithSettings([](tinyhorde::Settings& s) { s.CreatureScales["dreadnought"] = 0.25; });
  EXPECT_TRUE(Apply(id, "Test", true));
  EXPECT_TRUE(tinyhorde::IsRecordedShrunk(Host(id))) << "shrunk again, recorded again";
}

// ---- Restoration ---------------------------------------------------------------------------

class Restoration : public ScalingFixture {};

TEST_F(Restoration, ShrunkCreatureGoesBackToFullSizeAndItsOwnOffsets) {
  const int id = MakeTamed(kDread);
  const auto offsets = Game().CameraOffsets(Dino(id));
  ASSERT_TRUE(Apply(id));
  TakeLogLines();
  EXPECT_TRUE(Restore(id));
  ExpectAllScales(id, 1.0);
  const auto restored = Game().CameraOffsets(Dino(id));
  ASSERT_EQ(restored.size(), offsets.size());
  for (std::size_t i = 0; i < offsets.size(); ++i)
    EXPECT_TRUE(Same(restored[i].second, offsets[i].second)) << offsets[i].first;
  EXPECT_EQ(TakeLinesStartingWith("[Tinyhorde] Restored"),
            Lines{"[Tinyhorde] Restored Dreadnoughtus_Character_BP_C to normal scale 1.0 for "
                  "vanilla cryopod/SCS/cloud storage/save"});
}

TEST_F(Restoration, NullCreatureIsRefused) {
  EXPECT_FALSE(Restore(nullptr));
}

TEST_F(Restoration, NonTargetIsLeftAsItIs) {
  const int id = MakeTamed("Rex_Character_BP_C");
  SetAllScales(id, 0.3);
  TakeLogLines();
  EXPECT_FALSE(Restore(id));
  ExpectAllScales(id, 0.3);
  EXPECT_EQ(TakeLogLines(), Lines{});
}

// Shrunk while it was a target, then dropped from the targets: it must still go back before the
// game stores it, and it leaves the record.
TEST_F(Restoration, ShrunkCreatureTheSettingsNoLongerNameGoesBack) {
  const int id = MakeTamed(kDread);
  ASSERT_TRUE(Apply(id));
  WithSettings([](tinyhorde::Settings& s) {
    s.TargetBlueprints = {"Rex_Character_BP"};
    s.CreatureScales = {{"rex", 0.5}};
  });
  ASSERT_FALSE(tinyhorde::IsTargetCreature(Host(id)));
  EXPECT_TRUE(Restore(id));
  ExpectAllScales(id, 1.0);
  EXPECT_FALSE(tinyhorde::IsRecordedShrunk(Host(id)));
  EXPECT_FALSE(Restore(id)) << "once put back, it is neither recorded nor a target";
}

// Any target is restored, whatever state it is in: storage and destruction paths see all of
// these.
struct AnyTargetCase {
  const char* name;
  void (*prepare)(sim::Game&, int);
};

void PrintTo(const AnyTargetCase& c, std::ostream* os) {
  *os << c.name;
}

class RestoresAnyTarget : public Restoration,
                          public ::testing::WithParamInterface<AnyTargetCase> {};

TEST_P(RestoresAnyTarget, WritesFullSizeAndLogsEachTime) {
  const int id = Make(kDread);
  const auto offsets = Game().CameraOffsets(Dino(id));
  GetParam().prepare(Game(), id);
  SetAllScales(id, 0.25);
  EXPECT_TRUE(Restore(id));
  ExpectAllScales(id, 1.0);
  const auto restored = Game().CameraOffsets(Dino(id));
  ASSERT_EQ(restored.size(), offsets.size());
  for (std::size_t i = 0; i < offsets.size(); ++i)
    EXPECT_TRUE(Same(restored[i].second, offsets[i].second))
        << offsets[i].first << ": first seen at full size, its camera keeps its offsets";
  TakeLogLines();
  EXPECT_TRUE(Restore(id)) << "a target already at scale 1.0 is restored again";
  EXPECT_EQ(TakeLinesStartingWith("[Tinyhorde] Restored").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    TargetStates, RestoresAnyTarget,
    ::testing::Values(
        AnyTargetCase{"Wild", [](sim::Game&, int) {}},
        AnyTargetCase{"Dead", [](sim::Game& g, int id) { g.Kill(id); }},
        AnyTargetCase{"BeingDestroyed",
                      [](sim::Game& g, int id) {
                        sim::SetBit(
                            g.CreatureObject(id)->PrimalCharacter.Character.Pawn.Actor.ActorFlags,
                            sim::kBitActorIsBeingDestroyed, true);
                      }}),
    [](const auto& info) { return std::string(info.param.name); });

// The game's scale function lost, as a name the host does not know (under HooksDoNotThrow; any
// other host ends the server) or as a function that raises: every other write still happens, and
// the root is still written through its component field.
class RestoreWithLostScaleFunction : public Restoration,
                                     public ::testing::WithParamInterface<const char*> {
 protected:
  bool HooksDoNotThrowAtStart() const override { return std::string(GetParam()) == "forget"; }
};

TEST_P(RestoreWithLostScaleFunction, EveryOtherWriteStillHappens) {
  const int id = MakeTamed(kDread);
  SetAllScales(id, 0.25);
  LoseGameFunction(GetParam(), "AActor.SetActorRelativeScale3D(UE::Math::TVector<double>)");
  TakeLogLines();
  bool restored = false;
  EXPECT_NO_THROW(restored = Restore(id));
  EXPECT_TRUE(restored);
  ExpectAllScales(id, 1.0);
  EXPECT_EQ(TakeLinesStartingWith("[Tinyhorde] Restored").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(ScaleFunction, RestoreWithLostScaleFunction,
                         ::testing::Values("forget", "fail"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace scalingtest
