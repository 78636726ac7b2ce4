// A fault inside the game or the host while a detour or a timer callback does its own work stays
// in the plugin: the game's own function still runs exactly once, with what it was given, and the
// failure is logged once per place, however often it recurs. The strict simulated host ends the
// test process if anything escapes.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "config/plugin_settings.h"
#include "hooks/flow_fixture.h"
#include "sim/game.h"

namespace {

using sim::Hook;

// What the plugin's work reaches for and a fault can take away once names are resolved: the
// creature class test and weak references. The settings generation is advanced before each
// trigger, so that classification runs again.
const char* const kFailing[] = {"UStruct.IsChildOf(UStruct*)", "FWeakObjectPtr.Get()",
                                "FWeakObjectPtr.operator=(UObject*)"};

struct FailureCase {
  const char* name;
  std::vector<std::string> setup;  // run before the faults; player 1, shrunk dread 2 exist
  std::string trigger;             // run under the faults
  // The hooked game functions the trigger runs through; each runs once per trigger. The camera
  // functions keep no call log, so their count is not checked: the arm length the trigger
  // prints is the game's answer, handed back.
  std::vector<Hook> hooks;
  bool again = false;  // the trigger can run a second time (nothing new is logged)
  // The game given the names the SDK shows on no live line, on a host that survives a missing
  // name, so that their hooks are in.
  bool unverified_hooks = false;
};

// Tests are named by their case; this shows the name, not the case's bytes, after GetParam().
void PrintTo(const FailureCase& c, std::ostream* os) {
  *os << c.name;
}

const FailureCase kCases[] = {
    {"BeginPlay", {}, "spawn Dreadnoughtus_Character_BP_C tamed 1", {Hook::BeginPlay}, true},
    {"Cryo",
     {},
     "cryo 2 1",
     {Hook::CanCryo, Hook::GiveCryoItemAndCaptureDino, Hook::GetCryoDinoData, Hook::OnCryo,
      Hook::MultiOnCryo}},
    {"Uncryo", {"cryo 2 1"}, "uncryo 3 1", {Hook::OnUncryo}, false, true},
    {"SetRider", {}, "ride 2 1", {Hook::SetRider}},
    {"DinoCamera", {}, "camera 2", {Hook::DinoCameraArmLength}, true},
    {"RiderCamera", {"ride 2 1"}, "camera 1", {Hook::CharacterCameraArmLength}, true},
    {"RiderCameraSimple",
     {"ride 2 1"},
     "camera 1 simple",
     {Hook::CharacterCameraArmLengthSimple},
     true},
    {"Unstasis", {"stasis 2"}, "wake 2", {Hook::Unstasis}},
    {"TakeDamage", {}, "damage 2 CryoGun_C", {Hook::DinoTakeDamage, Hook::TakeDamage}, true},
    {"Save", {}, "save", {Hook::SaveWorld, Hook::Serialize}, true},
    {"Upload", {}, "upload 2 1", {Hook::ServerUploadDino, Hook::ServerUploadCharacter}},
    {"Export", {}, "export 2 1", {Hook::ExportDinoData}},
    {"Snapshot",
     {},
     "snapshot 2",
     {Hook::DinoCaptureSnapshot, Hook::CharacterCaptureSnapshot},
     true},
    {"Tame", {"spawn Dreadnoughtus_Character_BP_C"}, "tame 3 1", {Hook::TameDino}},
    {"TeamChange", {}, "team 2 60000", {Hook::TargetingTeamChanged}},
    {"Destroy", {}, "destroy 2", {Hook::Destroy, Hook::Destroyed}},
};

// The hooked game functions that keep no call log.
bool KeepsNoCallLog(Hook hook) {
  return hook == Hook::DinoCameraArmLength || hook == Hook::CharacterCameraArmLength ||
         hook == Hook::CharacterCameraArmLengthSimple;
}

// Every detour has a flow above: a hook of the game, and so a row of the plugin's detour table
// (held to the same hooks in detour_table_test.cpp), that no case runs through fails here.
TEST(ContainedFailureCases, RunThroughEveryHookOfTheGame) {
  for (int i = 0; i < static_cast<int>(Hook::Count); ++i) {
    const Hook hook = static_cast<Hook>(i);
    bool covered = false;
    for (const FailureCase& c : kCases)
      for (const Hook reached : c.hooks) covered = covered || reached == hook;
    EXPECT_TRUE(covered) << "no contained-failure flow runs through " << sim::HookName(hook);
  }
}

class ContainedFailureTimer : public flowtest::FlowFixture {};

class ContainedFailure : public flowtest::FlowFixture,
                         public testing::WithParamInterface<FailureCase> {
 protected:
  bool HooksDoNotThrowAtStart() const override { return GetParam().unverified_hooks; }
  void SetUp() override {
    FlowFixture::SetUp();
    if (GetParam().unverified_hooks) KnowUnverifiedNames();
    StartInProcess();
    Do("player Ada");
    Do("spawn Dreadnoughtus_Character_BP_C tamed 1");  // 2, shrunk and recorded
  }
  static int Failures(const std::vector<std::string>& lines) {
    int count = 0;
    for (const auto& line : lines)
      if (line.rfind("[Tinyhorde] ", 0) == 0 && line.find(" failed: ") != std::string::npos)
        ++count;
    return count;
  }
  int CallsOf(Hook hook) const {
    int count = 0;
    // The save also serializes Ada; the world save itself is called on the game mode.
    for (const auto& call : const_cast<ContainedFailure*>(this)->Game().Calls())
      if (call.hook == hook && (call.creature != 0 || hook == Hook::SaveWorld)) ++count;
    return count;
  }
};

TEST_P(ContainedFailure, TheGameStillRunsOnceAndTheLogHearsOnce) {
  const auto& c = GetParam();
  for (const auto& line : c.setup) Do(line);
  for (const char* function : kFailing) Server().Faults().Fail(function);
  TakeLogLines();
  int logged[2] = {0, 0};
  for (int round = 0; round < (c.again ? 2 : 1); ++round) {
    tinyhorde::SettingsChanged();
    Game().ClearCalls();
    const auto printed = Run(c.trigger);
    ASSERT_FALSE(printed.empty());
    EXPECT_EQ(printed.back().rfind("ok", 0), 0u) << c.trigger << ": " << printed.back();
    for (const Hook hook : c.hooks) {
      if (KeepsNoCallLog(hook)) continue;
      EXPECT_EQ(CallsOf(hook), 1) << sim::HookName(hook) << " in round " << round + 1;
    }
    logged[round] = Failures(TakeLogLines());
  }
  EXPECT_GE(logged[0], 1) << "no fault reached the plugin's own work";
  EXPECT_EQ(logged[1], 0) << "a place that failed again was logged again";
}

INSTANTIATE_TEST_SUITE_P(Detours, ContainedFailure, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A timer callback that meets a fault does nothing, and says so once for all its firings.
TEST_F(ContainedFailureTimer, ATimerCallbackContainsItsFailure) {
  StartInProcess();
  Do("player Ada");
  Do("spawn Dreadnoughtus_Character_BP_C tamed 1");  // 2, with timers after 1 s and 3 s
  Server().Faults().Fail("FWeakObjectPtr.Get()");
  TakeLogLines();
  Do("wait 5");
  EXPECT_EQ(TakeLogLines(), std::vector<std::string>{"[Tinyhorde] Delayed resize failed: "
                                                     "FWeakObjectPtr.Get() failed"});
  EXPECT_TRUE(Server().Clock().Pending().empty());
}

}  // namespace
