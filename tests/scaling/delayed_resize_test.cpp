// Applying a creature's scale again later (ScheduleDelayedResize): timer names and serials, the
// label, and what a timer does when it fires for a creature that is gone, dead, already at its
// size, or after the plugin stopped.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/plugin_active.h"
#include "plugin/lifecycle.h"
#include "scaling/delayed_resize.h"
#include "scaling/scaling_fixture.h"
#include "sim/memory.h"

namespace scalingtest {
namespace {

using tinyhorde::ScheduleDelayedResize;
using tinyhorde::TimerSerialForTests;

constexpr const char* kDread = "Dreadnoughtus_Character_BP_C";

class DelayedResize : public ScalingFixture {
 protected:
  void SetUp() override {
    ScalingFixture::SetUp();
    StartInProcess();
    TakeLogLines();
  }
  void Schedule(host::APrimalDinoCharacter* creature, const char* label, int seconds) {
    const auto before = LiveBlocks();
    ScheduleDelayedResize(creature, label, seconds);
    EXPECT_EQ(LiveBlocks(), before) << "scheduling left FMemory blocks behind";
  }
  std::vector<std::u16string> PendingNames() {
    std::vector<std::u16string> names;
    for (const auto& timer : Server().Clock().Pending()) names.push_back(timer.identifier);
    return names;
  }
  // Runs the due timers, checking the callbacks for FMemory blocks left behind.
  void Fire(double seconds) {
    const auto before = LiveBlocks();
    Advance(seconds);
    EXPECT_EQ(LiveBlocks(), before) << "a timer left FMemory blocks behind";
  }
};

TEST_F(DelayedResize, NullCreatureSchedulesNothing) {
  const auto serial = TimerSerialForTests();
  const auto pending = Server().Clock().Pending().size();
  Schedule(nullptr, "Test", 1);
  EXPECT_EQ(TimerSerialForTests(), serial);
  EXPECT_EQ(Server().Clock().Pending().size(), pending);
}

TEST_F(DelayedResize, TimersGetConsecutiveSerialNames) {
  const int id = MakeTamed(kDread);
  const auto serial = TimerSerialForTests();
  Schedule(Host(id), "A", 1);
  Schedule(Host(id), "B", 3);
  EXPECT_EQ(TimerSerialForTests(), serial + 2);
  EXPECT_EQ(PendingNames(),
            (std::vector<std::u16string>{
                sim::Utf8ToUtf16("Tinyhorde_Timer_" + std::to_string(serial + 1)),
                sim::Utf8ToUtf16("Tinyhorde_Timer_" + std::to_string(serial + 2))}));
  for (const auto& timer : Server().Clock().Pending())
    EXPECT_EQ(timer.module, sim::Utf8ToUtf16(std::filesystem::canonical("/proc/self/exe").string()))
        << "each timer is set for the module the plugin was loaded from";
}

TEST_F(DelayedResize, FiresAfterItsDelayWithItsLabel) {
  const int id = MakeTamed(kDread);
  Schedule(Host(id), "Later", 2);
  Fire(1.5);
  ExpectAllScales(id, 1.0);
  Fire(0.5);
  ExpectAllScales(id, 0.25);
  const Lines resized = TakeLinesStartingWith("[Tinyhorde] Resized");
  ASSERT_EQ(resized.size(), 1u);
  EXPECT_NE(resized[0].find("(Cam: 0.2500, Context: Later)"), std::string::npos) << resized[0];
  EXPECT_TRUE(Server().Clock().Pending().empty());
}

TEST_F(DelayedResize, NullLabelBecomesDelayed) {
  const int id = MakeTamed(kDread);
  Schedule(Host(id), nullptr, 1);
  Fire(1);
  const Lines resized = TakeLinesStartingWith("[Tinyhorde] Resized");
  ASSERT_EQ(resized.size(), 1u);
  EXPECT_NE(resized[0].find("Context: Delayed)"), std::string::npos) << resized[0];
}

// The label is copied at scheduling: the caller's buffer may be gone when the timer fires.
TEST_F(DelayedResize, LabelIsCopiedWhenScheduled) {
  const int id = MakeTamed(kDread);
  {
    std::string label = "Transient";
    Schedule(Host(id), label.c_str(), 1);
    label.assign(label.size(), 'x');
  }
  Fire(1);
  const Lines resized = TakeLinesStartingWith("[Tinyhorde] Resized");
  ASSERT_EQ(resized.size(), 1u);
  EXPECT_NE(resized[0].find("Context: Transient)"), std::string::npos) << resized[0];
}

TEST_F(DelayedResize, CreatureAlreadyAtScaleIsWrittenAgain) {
  const int id = MakeTamed(kDread);
  SetAllScales(id, 0.25);
  Dino(id)->BaseDinoScale = Uniform(1.0);
  Schedule(Host(id), "Again", 1);
  Fire(1);
  ExpectAllScales(id, 0.25);
  EXPECT_EQ(TakeLinesStartingWith("[Tinyhorde] Resized").size(), 1u);
}

TEST_F(DelayedResize, DestroyedCreatureIsNotTouched) {
  const int id = MakeTamed(kDread);
  Schedule(Host(id), "Gone", 1);
  Game().DestroyCreature(id);
  TakeLogLines();
  Fire(1);
  EXPECT_EQ(TakeLogLines(), Lines{});
}

// A new creature built in the freed memory of a destroyed one is not the timer's creature.
TEST_F(DelayedResize, NewCreatureInTheSameMemoryIsNotTouched) {
  const int id = MakeTamed(kDread);
  sim::APrimalDinoCharacter* const address = Dino(id);
  Schedule(Host(id), "Gone", 1);
  Game().DestroyCreature(id);
  const int newcomer = MakeTamed(kDread);
  ASSERT_EQ(Dino(newcomer), address);
  TakeLogLines();
  Fire(1);
  ExpectAllScales(newcomer, 1.0);
  EXPECT_EQ(TakeLogLines(), Lines{});
}

TEST_F(DelayedResize, DeadCreatureIsNotWritten) {
  const int id = MakeTamed(kDread);
  Schedule(Host(id), "Dead", 1);
  Game().Kill(id);
  TakeLogLines();
  Fire(1);
  ExpectAllScales(id, 1.0);
  EXPECT_EQ(TakeLinesStartingWith("[Tinyhorde] Resized"), Lines{});
}

// The host may still run a timer after the plugin stopped; it must then do nothing.
TEST_F(DelayedResize, StoppingCancelsPendingTimersAndALaterOneDoesNothing) {
  const int id = MakeTamed(kDread);
  Schedule(Host(id), "BeforeUnload", 1);
  tinyhorde::UnloadPlugin();
  ASSERT_FALSE(tinyhorde::PluginIsActive());
  EXPECT_EQ(Server().Clock().Pending().size(), 0u);
  // A timer set after the stop (a detour the game was still running) finds the plugin stopped.
  Schedule(Host(id), "AfterUnload", 1);
  ASSERT_EQ(Server().Clock().Pending().size(), 1u);
  TakeLogLines();
  Fire(1);
  ExpectAllScales(id, 1.0);
  EXPECT_EQ(TakeLogLines(), Lines{});
}

}  // namespace
}  // namespace scalingtest
