// Rider camera offsets (ScaleRiderCamera): always computed from the values first seen, so repeated
// calls never compound; only the four known names with the vector size are touched; and a
// creature made later at a freed address must start from its own offsets once the old one was
// forgotten.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include <spdlog/sinks/base_sink.h>

#include "base/logger.h"
#include "scaling/scaling_fixture.h"

namespace scalingtest {
namespace {

constexpr const char* kDread = "Dreadnoughtus_Character_BP_C";

// A log sink that counts the lines written while CameraStoreMutex was held: a sink may block or
// take locks of its own, so none may be written under it.
class LockWatchingSink : public spdlog::sinks::base_sink<std::mutex> {
 public:
  int written = 0;
  int under_lock = 0;

 protected:
  void sink_it_(const spdlog::details::log_msg&) override {
    ++written;
    if (tinyhorde::CameraStoreMutex.try_lock())
      tinyhorde::CameraStoreMutex.unlock();
    else
      ++under_lock;
  }
  void flush_() override {}
};

class RiderCamera : public ScalingFixture {
 protected:
  // The address of the class's own property of that name inside the creature.
  char* PropertyAt(int id, const std::string& name) {
    const auto& info = sim::ClassTree::Info(
        Dino(id)->PrimalCharacter.Character.Pawn.Actor.Object.Base.ClassPrivate);
    for (std::size_t i = 0; i < info.specs.size(); ++i)
      if (info.specs[i].name == name)
        return reinterpret_cast<char*>(Dino(id)) + info.properties[i]->Offset_Internal;
    ADD_FAILURE() << "no property " << name;
    return nullptr;
  }
  void SetOffset(int id, const std::string& name, const sim::FVector& value) {
    if (name == "RiderFPVCameraOffset") {
      Dino(id)->RiderFPVCameraOffset = value;
      return;
    }
    std::memcpy(PropertyAt(id, name), &value, sizeof value);
  }
};

TEST_F(RiderCamera, FirstSightRecordsAndLogsTheBaseline) {
  const int id = Make(kDread);
  TakeLogLines();
  const auto watch = std::make_shared<LockWatchingSink>();
  tinyhorde::LoggerHandle()->sinks().push_back(watch);
  ScaleCamera(id, 0.5);
  const Lines lines = TakeLogLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "[Tinyhorde] Stored orig TPVDefaultCameraOffset = (40.0, 0.0, 20.0)");
  EXPECT_EQ(lines[1],
            "[Tinyhorde] Scaled TPVDefaultCameraOffset -> (20.0, 0.0, 10.0) [scale=0.50]");
  EXPECT_EQ(lines.size(), 8u) << "a stored and a scaled line for each of the four offsets";
  EXPECT_EQ(tinyhorde::CameraStoreSizeForTests(), 1u);

  ScaleCamera(id, 0.5);
  EXPECT_EQ(TakeLinesStartingWith("[Tinyhorde] Stored orig"), Lines{})
      << "the baseline is recorded once";
  tinyhorde::RestoreRiderCamera(Host(id), tinyhorde::DetailLines::kWrite);
  EXPECT_EQ(watch->written, 8 + 4 + 4) << "stored and scaled lines, then scaled ones twice";
  EXPECT_EQ(watch->under_lock, 0) << "lines written while the camera store was locked";
}

TEST_F(RiderCamera, WithDebugLogOffNothingIsLogged) {
  WithSettings([](tinyhorde::Settings& s) { s.DebugLog = false; });
  const int id = Make(kDread);
  TakeLogLines();
  ScaleCamera(id, 0.5);
  EXPECT_EQ(TakeLogLines(), Lines{});
  EXPECT_TRUE(Same(Offset(id, "TPVDefaultCameraOffset"), sim::FVector{20, 0, 10}));
}

TEST_F(RiderCamera, RepeatedScalingNeverCompoundsAndOneRestoresExactly) {
  const int id = Make(kDread);
  const auto original = Game().CameraOffsets(Dino(id));
  ScaleCamera(id, 0.5);
  ScaleCamera(id, 0.5);
  for (const auto& [name, value] : original)
    EXPECT_TRUE(Same(Offset(id, name), Times(0.5, value))) << name << " after 0.5 twice";
  ScaleCamera(id, 0.25);
  for (const auto& [name, value] : original)
    EXPECT_TRUE(Same(Offset(id, name), Times(0.25, value))) << name << " after 0.25";
  ScaleCamera(id, 1.0);
  for (const auto& [name, value] : original)
    EXPECT_TRUE(Same(Offset(id, name), value)) << name << " after 1.0";
}

TEST_F(RiderCamera, FirstSeenAtFullScaleKeepsItsOffsets) {
  const int id = Make(kDread);
  const auto original = Game().CameraOffsets(Dino(id));
  ScaleCamera(id, 1.0);
  for (const auto& [name, value] : original) EXPECT_TRUE(Same(Offset(id, name), value)) << name;
  ScaleCamera(id, 0.5);
  for (const auto& [name, value] : original)
    EXPECT_TRUE(Same(Offset(id, name), Times(0.5, value))) << name;
}

// A name that differs only in case and a known name whose size is not a vector's are left alone;
// the other known name on the same class is still scaled.
TEST_F(RiderCamera, NearMissPropertiesAreLeftAlone) {
  const int id = MakeWith("Dreadnoughtus_NearMiss_Character_BP_C",
                          {{"tpvDefaultCameraOffset", 24, {40, 0, 20}},
                           {"TPVAimingCameraOffset", 12, {}},
                           {"FPVDefaultCameraOffset", 24, {10, 0, 80}}});
  const double pattern[2] = {8.0, 4.0};  // the 16 bytes the 12-byte property occupies
  std::memcpy(PropertyAt(id, "TPVAimingCameraOffset"), pattern, sizeof pattern);
  ScaleCamera(id, 0.5);
  EXPECT_TRUE(Same(Offset(id, "tpvDefaultCameraOffset"), sim::FVector{40, 0, 20}));
  EXPECT_EQ(std::memcmp(PropertyAt(id, "TPVAimingCameraOffset"), pattern, sizeof pattern), 0);
  EXPECT_TRUE(Same(Offset(id, "FPVDefaultCameraOffset"), sim::FVector{5, 0, 40}));
  EXPECT_TRUE(Same(Offset(id, "RiderFPVCameraOffset"), sim::FVector{0, 0, 25}));
}

TEST_F(RiderCamera, ClassWithoutOffsetsStillScalesTheRiderOffset) {
  const int id = MakeWith("Mosasaur_NoOffsets_Character_BP_C", {});
  TakeLogLines();
  ScaleCamera(id, 0.5);
  EXPECT_TRUE(Same(Offset(id, "RiderFPVCameraOffset"), sim::FVector{0, 0, 25}));
  EXPECT_EQ(tinyhorde::CameraStoreSizeForTests(), 1u);
  EXPECT_EQ(TakeLogLines(), Lines{});
  ScaleCamera(id, 0.5);
  EXPECT_TRUE(Same(Offset(id, "RiderFPVCameraOffset"), sim::FVector{0, 0, 25}));
}

TEST_F(RiderCamera, NullAndClasslessCreaturesAreIgnored) {
  EXPECT_NO_THROW(ScaleCamera(nullptr, 0.5));
  const int id = Make(kDread);
  auto& base = Dino(id)->PrimalCharacter.Character.Pawn.Actor.Object.Base;
  sim::UClass* const cls = base.ClassPrivate;
  base.ClassPrivate = nullptr;
  ScaleCamera(id, 0.5);
  base.ClassPrivate = cls;
  EXPECT_EQ(tinyhorde::CameraStoreSizeForTests(), 0u);
  EXPECT_TRUE(Same(Offset(id, "RiderFPVCameraOffset"), sim::FVector{0, 0, 50}));
}

// A creature destroyed after its baselines were recorded, and a new one of the same class built
// in the same memory with other offsets. Forgotten: the new one scales from its own offsets. Not
// forgotten: the store is keyed by address, so the old baselines would be used.
class ReusedAddress : public RiderCamera, public ::testing::WithParamInterface<bool> {};

TEST_P(ReusedAddress, NewCreatureStartsFromItsOwnOffsetsOnlyOnceForgotten) {
  const bool forget = GetParam();
  const int old_id = Make(kDread);
  sim::APrimalDinoCharacter* const old_address = Dino(old_id);
  ScaleCamera(old_id, 0.5);
  Game().DestroyCreature(old_id);
  if (forget) tinyhorde::ForgetCreatureCamera(old_address);
  EXPECT_EQ(tinyhorde::CameraStoreSizeForTests(), forget ? 0u : 1u);

  const int new_id = Make(kDread);
  ASSERT_EQ(Dino(new_id), old_address) << "the simulated allocator must reuse the freed memory";
  SetOffset(new_id, "TPVDefaultCameraOffset", {100, 0, 50});
  SetOffset(new_id, "RiderFPVCameraOffset", {0, 0, 80});
  ScaleCamera(new_id, 0.5);
  if (forget) {
    EXPECT_TRUE(Same(Offset(new_id, "TPVDefaultCameraOffset"), sim::FVector{50, 0, 25}));
    EXPECT_TRUE(Same(Offset(new_id, "RiderFPVCameraOffset"), sim::FVector{0, 0, 40}));
  } else {
    EXPECT_TRUE(Same(Offset(new_id, "TPVDefaultCameraOffset"), sim::FVector{20, 0, 10}));
    EXPECT_TRUE(Same(Offset(new_id, "RiderFPVCameraOffset"), sim::FVector{0, 0, 25}));
  }
}

INSTANTIATE_TEST_SUITE_P(Baselines, ReusedAddress, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Forgotten" : "Kept"; });

// Through the game: destroying a creature with the detours installed forgets its baselines, so a
// creature built in the same memory is not scaled from the dead one's offsets.
TEST_F(RiderCamera, DestroyingThroughTheGameForgetsTheBaselines) {
  StartInProcess();
  const int player = Game().AddPlayer("Alice", false);
  const int old_id = Game().Spawn(kDread, player, std::nullopt);
  sim::APrimalDinoCharacter* const old_address = Dino(old_id);
  ASSERT_EQ(tinyhorde::CameraStoreSizeForTests(), 1u)
      << "spawning shrinks it and records its baselines";
  Game().DestroyCreature(old_id);
  EXPECT_EQ(tinyhorde::CameraStoreSizeForTests(), 0u);

  const int new_id = Make(kDread);
  ASSERT_EQ(Dino(new_id), old_address);
  SetOffset(new_id, "TPVDefaultCameraOffset", {100, 0, 50});
  ScaleCamera(new_id, 0.5);
  EXPECT_TRUE(Same(Offset(new_id, "TPVDefaultCameraOffset"), sim::FVector{50, 0, 25}));
}

TEST_F(RiderCamera, EachCreatureHasItsOwnBaselines) {
  const int first = Make(kDread);
  const int second = Make(kDread);
  SetOffset(second, "TPVDefaultCameraOffset", {80, 0, 40});
  ScaleCamera(first, 0.5);
  ScaleCamera(second, 0.5);
  EXPECT_EQ(tinyhorde::CameraStoreSizeForTests(), 2u);
  EXPECT_TRUE(Same(Offset(first, "TPVDefaultCameraOffset"), sim::FVector{20, 0, 10}));
  EXPECT_TRUE(Same(Offset(second, "TPVDefaultCameraOffset"), sim::FVector{40, 0, 20}));
}

}  // namespace
}  // namespace scalingtest
