// The simulated host's own contracts: command matching, timers on the virtual clock, the tracked
// allocator, unknown names, and the host's folders.
#include <gtest/gtest.h>

#include <fstream>
#include <tuple>
#include <utility>

#include "host/services.h"
#include "sim/commands.h"
#include "sim/host_api.h"
#include "sim/memory.h"
#include "sim/timers.h"
#include "support/sim_fixture.h"

namespace {

TEST(CommandMatching, FirstWordIgnoringCaseAndFirstRegistrationWins) {
  sim::CommandList<int> list;
  list.Add(u"hordesize.reload", 1, u"one");
  list.Add(u"HORDESIZE.RELOAD", 2, u"two");
  list.Add(u"bigfit.reload", 3, u"one");
  int found = 0;
  ASSERT_TRUE(list.Find(u"  HordeSize.Reload now", found));
  EXPECT_EQ(found, 1);
  EXPECT_FALSE(list.Find(u"hordesize.reloadnow", found));
  EXPECT_FALSE(list.Find(u"hordesize", found));
  EXPECT_FALSE(list.Find(u"", found));
  // By name, the first command of that name goes, whichever module registered it.
  ASSERT_TRUE(list.Remove(u"Hordesize.Reload"));
  ASSERT_TRUE(list.Find(u"hordesize.reload", found));
  EXPECT_EQ(found, 2);
  // By module, only that module's commands go.
  list.Add(u"hordesize.reload", 4, u"one");
  EXPECT_EQ(list.RemoveModule(u"one"), 2u);
  ASSERT_TRUE(list.Find(u"hordesize.reload", found));
  EXPECT_EQ(found, 2);
  EXPECT_FALSE(list.Find(u"bigfit.reload", found));
}

TEST(VirtualClock, TimersFireInDueOrderThenInSettingOrder) {
  sim::Timers timers;
  std::string order;
  timers.Add([&] { order += "3s;"; }, 3, u"a", u"m");
  timers.Add([&] { order += "1s-first;"; }, 1, u"b", u"m");
  timers.Add([&] { order += "1s-second;"; }, 1, u"c", u"m");
  std::vector<std::u16string> listed;  // in the order they will fire
  for (const auto& timer : timers.Pending()) listed.push_back(timer.identifier);
  EXPECT_EQ(listed, (std::vector<std::u16string>{u"b", u"c", u"a"}));
  timers.Advance(0.5, [](const std::string&) {});
  EXPECT_EQ(order, "");
  timers.Advance(0.5, [](const std::string&) {});
  EXPECT_EQ(order, "1s-first;1s-second;");
  EXPECT_DOUBLE_EQ(timers.Now(), 1.0);
  timers.Advance(5, [](const std::string&) {});
  EXPECT_EQ(order, "1s-first;1s-second;3s;");
}

TEST(VirtualClock, ATimerSetWhileFiringRunsInTheSameWaitWhenDue) {
  sim::Timers timers;
  int fired = 0;
  timers.Add(
      [&] {
        ++fired;
        timers.Add([&] { ++fired; }, 1, u"inner", u"m");
      },
      1, u"outer", u"m");
  timers.Advance(2, [](const std::string&) {});
  EXPECT_EQ(fired, 2);
  EXPECT_TRUE(timers.Pending().empty());
}

// While a wait of 3 s runs, "outer" (1 s) sets "inner" after the delay, or drops module m for a
// delay of -1; "same" (2 s, module m) and "later" (3 s, module n) were set before the wait.
TEST(VirtualClock, TimersSetOrDroppedWhileFiringKeepTheFiringOrder) {
  const std::tuple<int, const char*, std::size_t> cases[] = {{0, "outer;inner;same;later;", 0},
                                                             {1, "outer;same;inner;later;", 0},
                                                             {5, "outer;same;later;", 1},
                                                             {-1, "outer;later;", 0}};
  for (const auto& [delay, expected, left] : cases) {
    sim::Timers timers;
    std::string fired;
    const auto outer = [&timers, &fired, delay = delay] {
      fired += "outer;";
      if (delay < 0) {
        timers.DropModule(u"m");
      } else {
        timers.Add([&fired] { fired += "inner;"; }, delay, u"inner", u"m");
      }
    };
    timers.Add(outer, 1, u"outer", u"m");
    timers.Add([&] { fired += "same;"; }, 2, u"same", u"m");
    timers.Add([&] { fired += "later;"; }, 3, u"later", u"n");
    timers.Advance(3, [](const std::string& error) { ADD_FAILURE() << error; });
    EXPECT_EQ(fired, expected) << "delay " << delay;
    EXPECT_EQ(timers.Pending().size(), left) << "delay " << delay;
  }
}

TEST(VirtualClock, DropsOnlyTheNamedModulesTimersAndReportsThrowingCallbacks) {
  sim::Timers timers;
  int fired = 0;
  std::vector<std::string> errors;
  timers.Add([&] { ++fired; }, 1, u"a", u"plugin");
  timers.Add([&] { throw std::runtime_error("boom"); }, 1, u"b", u"other");
  timers.Add([&] { ++fired; }, 2, u"c", u"other");
  EXPECT_EQ(timers.DropModule(u"plugin"), 1u);
  timers.Advance(3, [&](const std::string& e) { errors.push_back(e); });
  EXPECT_EQ(fired, 1);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("boom"), std::string::npos);
}

TEST(TrackedMemory, CountsLiveBlocksAndBadFrees) {
  sim::TrackedMemory memory;
  void* a = memory.Malloc(10, 0);
  void* b = memory.Malloc(20, 0);
  EXPECT_EQ(memory.LiveBlocks(), 2u);
  b = memory.Realloc(b, 100, 0);
  EXPECT_EQ(memory.LiveBlocks(), 2u);
  memory.Free(a);
  memory.Free(a);  // twice
  int on_stack = 0;
  memory.Free(&on_stack);  // never given out
  memory.Free(nullptr);    // allowed
  EXPECT_EQ(memory.BadFrees(), 2u);
  EXPECT_EQ(memory.LiveBlocks(), 1u);
  EXPECT_EQ(memory.Realloc(b, 0, 0), nullptr);
  EXPECT_EQ(memory.LiveBlocks(), 0u);
}

TEST(Utf16, RoundTripsAndReplacesLoneSurrogates) {
  const std::string text = "Dino \xC3\xA9\xE2\x82\xAC\xF0\x9F\xA6\x96";
  EXPECT_EQ(sim::Utf16ToUtf8(sim::Utf8ToUtf16(text)), text);
  EXPECT_EQ(sim::Utf16ToUtf8(std::u16string{0xD800, u'x'}), "\xEF\xBF\xBDx");
}

class HostServices : public simtest::SimFixture {};

// What an unknown name leads to (the server ends) is in strict_host_test.cpp.
TEST_F(HostServices, KnownNamesResolveAndATestCanMakeThemUnknown) {
  auto* dino = Game().CreatureObject(
      Game().CreateCreature(Server().Classes().Species("Dreadnoughtus_Character_BP_C")));
  EXPECT_EQ(simhost::GetAddress(dino, "APrimalDinoCharacter.BaseDinoScale"),
            reinterpret_cast<std::uintptr_t>(&dino->BaseDinoScale));
  EXPECT_NE(simhost::GetAddress("FMemory.Free(void*)"), nullptr);
  auto& names = Server().Lookup();
  EXPECT_FALSE(names.Knows("APrimalDinoCharacter.NoSuchField"));
  names.MakeUnknown("APrimalDinoCharacter.BaseDinoScale");
  names.MakeUnknown("FMemory.Free(void*)");
  EXPECT_FALSE(names.Knows("APrimalDinoCharacter.BaseDinoScale"));
  EXPECT_FALSE(names.KnowsFunction("FMemory.Free(void*)"));
  EXPECT_EQ(names.FieldAddress(dino, "APrimalDinoCharacter.BaseDinoScale"), std::nullopt);
  EXPECT_EQ(names.FunctionAddress("FMemory.Free(void*)"), nullptr);
  names.MakeKnown("FMemory.Free(void*)");
  EXPECT_TRUE(names.KnowsFunction("FMemory.Free(void*)"));
}

TEST_F(HostServices, FlagsAreBitsOfAThirtyTwoBitWord) {
  auto* dino = Game().CreatureObject(
      Game().CreateCreature(Server().Classes().Species("Dreadnoughtus_Character_BP_C")));
  const auto flag = simhost::GetBitField(dino, "APrimalCharacter.bIsDead");
  const auto word = [&] { return *reinterpret_cast<const std::uint32_t*>(flag.offset); };
  EXPECT_EQ((word() >> flag.bit_position) & 1u, 0u);
  EXPECT_EQ(flag.num_bits, 1u);
  Game().Kill(Game().CreatureIdOf(dino));
  EXPECT_EQ((word() >> flag.bit_position) & 1u, 1u);
}

TEST_F(HostServices, TheWorldIsNullWhileDownAndTheCurrentDirIsWin64) {
  EXPECT_NE(simhost::GetWorld(), nullptr);
  Run("world down");
  EXPECT_EQ(simhost::GetWorld(), nullptr);
  Run("world up");
  EXPECT_NE(simhost::GetWorld(), nullptr);
  EXPECT_EQ(simhost::GetCurrentDir(), Win64Dir().string());
  EXPECT_TRUE(std::filesystem::exists(Win64Dir() / "config.json"));
}

// The plugin reads time on the clock its timers run on: it moves with the waits, fractions
// included, and a new server starts it again.
TEST_F(HostServices, TheTimerClockIsTheVirtualClock) {
  const double start = host::TimerClockSeconds();
  EXPECT_EQ(start, Server().Clock().Now());
  Run("wait 2.5");
  EXPECT_DOUBLE_EQ(host::TimerClockSeconds(), start + 2.5);
  bool fired_at_due_time = false;
  host::DelayExecute([&] { fired_at_due_time = host::TimerClockSeconds() == start + 3.5; }, 1,
                     host::FString("clock"));
  Run("wait 5");
  EXPECT_TRUE(fired_at_due_time) << "a timer sees the clock at its own due time";
  SetHooksDoNotThrow();
  EXPECT_EQ(host::TimerClockSeconds(), 0.0);
}

TEST_F(HostServices, WeakReferencesResolveToNullOnceTheObjectIsDestroyed) {
  const int id = Game().CreateCreature(Server().Classes().Species("Dreadnoughtus_Character_BP_C"));
  auto* dino = Game().CreatureObject(id);
  const auto weak = Server().Objects().WeakOf(reinterpret_cast<sim::UObject*>(dino));
  EXPECT_EQ(Server().Objects().Resolve(weak), reinterpret_cast<sim::UObject*>(dino));
  Game().RemoveCreature(dino);
  EXPECT_EQ(Server().Objects().Resolve(weak), nullptr);
  // The freed memory is handed to the next creature of the same size; the old reference stays
  // dead.
  const int again =
      Game().CreateCreature(Server().Classes().Species("Dreadnoughtus_Character_BP_C"));
  EXPECT_EQ(static_cast<void*>(Game().CreatureObject(again)), static_cast<void*>(dino));
  EXPECT_EQ(Server().Objects().Resolve(weak), nullptr);
  EXPECT_EQ(Game().CreatureIdOf(dino), again) << "the address names the new creature";
  Game().RemoveCreature(dino);
  EXPECT_EQ(Game().CreatureIdOf(dino), 0);
}

TEST_F(HostServices, ConsoleRefusesBadInputAndGoesOn) {
  EXPECT_EQ(Run("fly away"), std::vector<std::string>{"error unknown command 'fly'"});
  EXPECT_EQ(Run("kill 99").at(0), "error no creature 99");
  EXPECT_EQ(Run("write ../outside x").at(0).rfind("error the path leaves the server root", 0), 0u);
  EXPECT_EQ(Run("wait -1").at(0).rfind("error", 0), 0u);
  EXPECT_EQ(Run("# a comment"), std::vector<std::string>{});
  EXPECT_EQ(Run("player Bob"), std::vector<std::string>{"ok player 1"});
  EXPECT_EQ(Server().ErrorCount(), 4);
}

// Pods and uploads are found by id and kind: another kind's id is not found; a used one refused.
TEST_F(HostServices, PodsAndUploadsAreTakenOnceAndOnlyAsTheirKind) {
  Run("player Ada");
  Run("spawn Rex_Character_BP_C tamed 1");
  Run("spawn Rex_Character_BP_C tamed 1");
  ASSERT_EQ(Run("cryo 2 1").back(), "ok pod 4");
  ASSERT_EQ(Run("upload 3 1").back(), "ok upload 5");
  const std::pair<const char*, const char*> cases[] = {
      {"download 4 1", "error no upload 4"}, {"uncryo 5 1", "error no pod 5"},
      {"uncryo 4 1", "ok creature 6"},       {"uncryo 4 1", "error pod 4 is empty"},
      {"download 5 1", "ok creature 7"},     {"download 5 1", "error upload 5 was downloaded"}};
  for (const auto& [line, answer] : cases) EXPECT_EQ(Run(line).back(), answer) << line;
}

TEST_F(HostServices, ExpectComparesVectorsNumbersAndReportsMismatches) {
  Run("player Bob");
  Run("spawn Rex_Character_BP_C");
  EXPECT_EQ(Run("expect creature.2.root_scale 1"), std::vector<std::string>{"ok"});
  EXPECT_EQ(Run("expect creature.2.class Rex_Character_BP_C"), std::vector<std::string>{"ok"});
  EXPECT_EQ(Run("expect creature.2.camera.RiderFPVCameraOffset [0,0,50]"),
            std::vector<std::string>{"ok"});
  EXPECT_EQ(Run("expect clock 0"), std::vector<std::string>{"ok"});
  const auto mismatch = Run("expect creature.2.root_scale 0.5");
  ASSERT_EQ(mismatch.size(), 1u);
  EXPECT_EQ(mismatch[0], "error expect creature.2.root_scale: expected 0.5, got [1.0,1.0,1.0]");
}

}  // namespace
