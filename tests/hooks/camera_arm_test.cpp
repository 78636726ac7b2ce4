// The camera arm length detours: the game's length times the camera scale of a qualifying target
// creature, or of the qualifying target a player rides; every other length unchanged. Each case
// runs through both overloads the game may call.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "scaling/scaling_fixture.h"

namespace scalingtest {
namespace {

constexpr const char* kDread = "Dreadnoughtus_Character_BP_C";  // 0.25
constexpr const char* kMosa = "Mosasaur_Character_BP_C";        // 0.5
constexpr const char* kRex = "Rex_Character_BP_C";              // no key

class CameraArm : public ScalingFixture {
 public:
  void SetUp() override {
    ScalingFixture::SetUp();
    StartInProcess();
    player_ = Game().AddPlayer("Rider", false);
  }
  // The length the game answers through its hook entry, checked for FMemory blocks left behind.
  float Length(int subject, bool simple) {
    const auto before = LiveBlocks();
    const float length = Game().Camera(subject, simple);
    EXPECT_EQ(LiveBlocks(), before) << "the camera detour left FMemory blocks behind";
    return length;
  }
  int Rides(int creature) {
    Game().Ride(creature, player_);
    return player_;
  }
  int player() const { return player_; }
  using ScalingFixture::Make;
  using ScalingFixture::MakeTamed;
  using ScalingFixture::WithSettings;

 private:
  int player_ = 0;
};

struct ArmCase {
  const char* name;
  std::function<int(CameraArm&)> subject;  // the character whose camera is asked for
  float expected;
};

void PrintTo(const ArmCase& c, std::ostream* os) {
  *os << c.name;
}

class ArmLength : public CameraArm,
                  public ::testing::WithParamInterface<std::tuple<ArmCase, bool>> {};

TEST_P(ArmLength, IsTheGameLengthTimesTheQualifyingCameraScale) {
  const auto& [c, simple] = GetParam();
  const int subject = c.subject(*this);
  EXPECT_FLOAT_EQ(Length(subject, simple), c.expected);
}

INSTANTIATE_TEST_SUITE_P(ArmCases, ArmLength,
                         ::testing::Combine(::testing::Values(
                                                ArmCase{"TamedTarget",
                                                        [](CameraArm& f) {
                                                          return f.MakeTamed(kDread);
                                                        },
                                                        200.f},
                                                ArmCase{"WildTargetWithOnlyTamed",
                                                        [](CameraArm& f) { return f.Make(kDread); },
                                                        800.f},
                                                ArmCase{"WildTargetWithOnlyTamedOff",
                                                        [](CameraArm& f) {
                                                          f.WithSettings(
                                                              [](tinyhorde::Settings& s) {
                                                                s.OnlyTamed = false;
                                                              });
                                                          return f.Make(kDread);
                                                        },
                                                        200.f},
                                                ArmCase{
                                                    "TamedNonTarget",
                                                    [](CameraArm& f) { return f.MakeTamed(kRex); },
                                                    800.f},
                                                // Matched by a blueprint entry only: the camera
                                                // scale, not the body scale, applies.
                                                ArmCase{
                                                    "BlueprintTargetUsesTheCameraScale",
                                                    [](CameraArm& f) {
                                                      f.WithSettings([](tinyhorde::Settings& s) {
                                                        s.TargetBlueprints.push_back(
                                                            "Colossus_Character_BP");
                                                        s.DefaultScale = 0.6;
                                                        s.DefaultCameraArmScale = 0.3;
                                                      });
                                                      return f.MakeTamed("Colossus_Character_BP_C");
                                                    },
                                                    240.f},
                                                ArmCase{"PlayerOnFoot",
                                                        [](CameraArm& f) { return f.player(); },
                                                        300.f},
                                                ArmCase{"PlayerRidingTamedTarget",
                                                        [](CameraArm& f) {
                                                          return f.Rides(f.MakeTamed(kMosa));
                                                        },
                                                        400.f},
                                                ArmCase{"PlayerRidingWildTargetWithOnlyTamed",
                                                        [](CameraArm& f) {
                                                          return f.Rides(f.Make(kMosa));
                                                        },
                                                        800.f},
                                                ArmCase{
                                                    "PlayerRidingNonTarget",
                                                    [](
                                                        CameraArm&
                                                            f) { return f.Rides(f.MakeTamed(kRex)); },
                                                    800.f},
                                                ArmCase{"TamedTargetWithShrinkingOff",
                                                        [](CameraArm& f) {
                                                          tinyhorde::SetMissingStorageHooks({"x"});
                                                          return f.MakeTamed(kDread);
                                                        },
                                                        800.f},
                                                ArmCase{"PlayerRidingWithShrinkingOff",
                                                        [](CameraArm& f) {
                                                          const int mount = f.MakeTamed(kMosa);
                                                          const int rider = f.Rides(mount);
                                                          tinyhorde::SetMissingStorageHooks({"x"});
                                                          return rider;
                                                        },
                                                        800.f}),
                                            ::testing::Bool()),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) ? "_Simple" : "_WithParams");
                         });

// The ridden creature's own camera is also scaled; the rider's length follows a dismount.
TEST_F(CameraArm, DismountingGivesThePlayerItsOwnLengthBack) {
  const int mount = MakeTamed(kMosa);
  Rides(mount);
  ASSERT_FLOAT_EQ(Length(player(), false), 400.f);
  Game().Dismount(mount);
  EXPECT_FLOAT_EQ(Length(player(), false), 300.f);
  EXPECT_FLOAT_EQ(Length(player(), true), 300.f);
}

}  // namespace
}  // namespace scalingtest
