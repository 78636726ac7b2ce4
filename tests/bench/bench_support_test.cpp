// The benchmarks' own machinery, so that their figures measure what they claim: each detour runs
// alone in front of a stand-in, every batch starts as its cases need, the bare-writes loop does
// resize-all's three writes and nothing more, the server counts name conversions, and the sinks
// count the plugin's lines.
#include <cstdint>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bench_server.h"
#include "detour_cases.h"
#include "detour_world.h"
#include "game_stand_ins.h"
#include "hooks/detour_table.h"
#include "world_operations.h"

namespace {

using bench::Preparation;
using bench::Subject;

double RootScale(bench::DetourWorld& world, const bench::CallSubject& subject) {
  return world.Server().GameWorld().RootScale(subject.dino).X;
}

// Each hook of the game (and so each row of the plugin's detour table, held to the same hooks in
// tests/hooks/detour_table_test.cpp) has a stand-in and at least one case.
TEST(DetourCasesTest, EveryHookOfTheGameHasAStandInAndACase) {
  for (int i = 0; i < static_cast<int>(sim::Hook::Count); ++i) {
    const auto hook = static_cast<sim::Hook>(i);
    EXPECT_NE(bench::GameStandIn(hook), nullptr) << "no stand-in for " << sim::HookName(hook);
    bool has_case = false;
    for (const auto& detour : bench::DetourCases()) has_case = has_case || detour.hook == hook;
    EXPECT_TRUE(has_case) << "no detour case for " << sim::HookName(hook);
  }
  // The plugin's rows are the game's hooks, so the loop above met each of them.
  for (const tinyhorde::DetourRow& row : tinyhorde::DetourTable()) {
    bool a_game_hook = false;
    for (int i = 0; i < static_cast<int>(sim::Hook::Count); ++i)
      a_game_hook =
          a_game_hook || std::string(sim::HookName(static_cast<sim::Hook>(i))) == row.name.name;
    EXPECT_TRUE(a_game_hook) << "the bench knows no hook " << row.name.name;
  }
}

// Every case on every subject it takes. The game's own function never runs (it would record the
// call, store a record or destroy the creature); the detour in front of the stand-in still acts
// (the storage detours put a target back to full size, the others leave it at its scale); and the
// next batch is prepared again, timers dropped and targets shrunk.
TEST(DetourCasesTest, EachDetourRunsAloneAndTheNextBatchIsPrepared) {
  const std::set<std::string> restoring = {"OnCryo",
                                           "MultiOnCryo",
                                           "GiveCryoItemAndCaptureDino",
                                           "GetCryoDinoData",
                                           "CanCryo",
                                           "TakeDamage(capture causer)",
                                           "DinoTakeDamage(capture causer)",
                                           "SaveWorld",
                                           "Serialize(saving)",
                                           "Destroy",
                                           "Destroyed",
                                           "ServerUploadDino",
                                           "ServerUploadCharacter",
                                           "ExportDinoData",
                                           "CharacterCaptureSnapshot",
                                           "DinoCaptureSnapshot"};
  bench::DetourWorld world;
  ASSERT_TRUE(world.TargetsShrunk());
  auto& game = world.Server().GameWorld();
  const auto creatures = game.Creatures().size();
  const double at_scale = RootScale(world, world.Of(Subject::kTarget).front());
  for (const auto& detour : bench::DetourCases()) {
    for (Subject subject : detour.subjects) {
      SCOPED_TRACE(std::string(detour.name) + " on " + bench::SubjectName(subject));
      const Preparation preparation =
          subject == Subject::kTarget ? detour.target_preparation : Preparation::kAtScale;
      ASSERT_TRUE(world.Prepare(subject, preparation));
      EXPECT_TRUE(world.Server().Clock().Pending().empty());
      const auto& first = world.Of(subject).front();
      detour.call(world, first);
      EXPECT_TRUE(game.Calls().empty());
      EXPECT_EQ(game.Creatures().size(), creatures);
      EXPECT_TRUE(game.Stored().empty());
      if (subject == Subject::kTarget) {
        EXPECT_DOUBLE_EQ(RootScale(world, first), restoring.count(detour.name) ? 1.0 : at_scale);
      }
    }
  }
  EXPECT_TRUE(world.Prepare(Subject::kTarget, Preparation::kAtScale));
}

// After start-up, and once the plugin has met each class, a detour looks no name up and takes no
// FMemory block, on any subject; only a detour that hands the host a timer may allocate then.
// The counts are exact: the same detour runs twice over its batch.
TEST(DetourCasesTest, NoDetourLooksANameUpOrTakesAGameBufferOnceClassesAreKnown) {
  bench::DetourWorld world;
  ASSERT_TRUE(world.TargetsShrunk());
  auto& server = world.Server();
  for (const auto& detour : bench::DetourCases()) {
    for (Subject subject : detour.subjects) {
      SCOPED_TRACE(std::string(detour.name) + " on " + bench::SubjectName(subject));
      const Preparation preparation =
          subject == Subject::kTarget ? detour.target_preparation : Preparation::kAtScale;
      const auto& subjects = world.Of(subject);
      ASSERT_TRUE(world.Prepare(subject, preparation));
      detour.call(world, subjects.front());
      ASSERT_TRUE(world.Prepare(subject, preparation));
      const auto lookups = server.Lookup().Lookups();
      const auto blocks = server.Memory().Allocations();
      const auto timers = server.Clock().Pending().size();
      for (const auto& one : subjects) detour.call(world, one);
      EXPECT_EQ(server.Lookup().Lookups(), lookups);
      if (server.Clock().Pending().size() == timers) {
        EXPECT_EQ(server.Memory().Allocations(), blocks);
      }
    }
  }
}

// A target prepared as built begins play again and again at full size with its class's camera
// offsets, so each run shrinks it from there and its camera is never scaled twice over.
TEST(DetourWorldTest, TargetsPreparedAsBuiltAreShrunkFromFullSizeEveryTime) {
  bench::DetourWorld world;
  const auto& target = world.Of(Subject::kTarget).front();
  const double at_scale = RootScale(world, target);
  const auto begin_play = world.Entry<sim::Hook::BeginPlay>();
  std::vector<sim::FVector> rider_cameras;
  for (int run = 0; run < 3; ++run) {
    ASSERT_TRUE(world.Prepare(Subject::kTarget, Preparation::kAsBuilt));
    EXPECT_DOUBLE_EQ(RootScale(world, target), 1.0);
    EXPECT_DOUBLE_EQ(target.dino->BaseDinoScale.X, 1.0);
    begin_play(target.dino);
    EXPECT_DOUBLE_EQ(RootScale(world, target), at_scale);
    rider_cameras.push_back(target.dino->RiderFPVCameraOffset);
  }
  for (const auto& camera : rider_cameras) {
    EXPECT_DOUBLE_EQ(camera.Z, rider_cameras.front().Z);
    EXPECT_LT(camera.Z, 50.0);
  }
}

void FullSize(bench::BenchServer& world) {
  for (const auto& [id, dino] : world.Game().Creatures()) {
    dino->PrimalCharacter.Character.Pawn.Actor.RootComponent->RelativeScale3D = {1, 1, 1};
    dino->PrimalCharacter.Character.Mesh->RelativeScale3D = {1, 1, 1};
    dino->BaseDinoScale = {1, 1, 1};
  }
}

void ExpectAllAt(bench::BenchServer& world, double scale) {
  for (const auto& [id, dino] : world.Game().Creatures()) {
    EXPECT_DOUBLE_EQ(world.Game().RootScale(dino).Z, scale) << id;
    EXPECT_DOUBLE_EQ(world.Game().MeshScale(dino).Z, scale) << id;
    EXPECT_DOUBLE_EQ(dino->BaseDinoScale.Z, scale) << id;
  }
}

// Both sides of the comparison write the same three scales on every creature; the bare loop
// looks no name up while it runs and releases the list it was given.
TEST(WorldOperationsTest, BareWritesDoResizeAllsWritesWithNoLookUpAndNoLeftover) {
  bench::BenchServer world;
  bench::SpawnTamedTargets(world, 3);
  world.StartPlugin();
  const double scale = bench::FirstCreatureScale(world);
  ASSERT_LT(scale, 1.0);
  bench::ConsoleResizeAll resize(world);
  bench::BareWrites bare(world, scale);

  FullSize(world);
  resize.Run();
  ExpectAllAt(world, scale);

  FullSize(world);
  const auto lookups = world.Server().Lookup().Lookups();
  const auto blocks = world.Server().Memory().LiveBlocks();
  bare.Run();
  ExpectAllAt(world, scale);
  EXPECT_EQ(world.Server().Lookup().Lookups(), lookups);
  EXPECT_EQ(world.Server().Memory().LiveBlocks(), blocks);
}

// Spawning with the plugin running leaves the creatures at their scale and no timer pending; a
// world without the plugin has no resize-all to type.
TEST(WorldOperationsTest, SpawningLeavesNoTimerAndResizeAllNeedsThePlugin) {
  bench::BenchServer world;
  EXPECT_THROW(bench::ConsoleResizeAll{world}, std::runtime_error);
  world.StartPlugin();
  bench::SpawnTamedTargets(world, 2);
  EXPECT_TRUE(world.Server().Clock().Pending().empty());
  EXPECT_LT(bench::FirstCreatureScale(world), 1.0);
  EXPECT_NO_THROW(bench::ConsoleResizeAll{world});
}

// The goals of DebugLog on are lines, which carry over to a real server: a save of 5,000 tamed
// targets through its re-application, and 5,000 of them beginning play over 120 s through their
// 3 s passes. The sink counts every line the plugin writes, and each is flushed.
struct LinesCase {
  const char* name;
  bool debug_log;
  bool start;  // the start, else the save
  std::uint64_t at_least, at_most;
};
void PrintTo(const LinesCase& c, std::ostream* os) {
  *os << c.name;
}
class WorldOperationLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(WorldOperationLines, AreCountedFlushedAndWithinTheirGoal) {
  const LinesCase& c = GetParam();
  bench::BenchServer world(c.debug_log);
  if (c.start)
    world.StartPlugin();
  else
    bench::SpawnShrunkTargetsAtRest(world, 5000);
  const auto lines = world.LinesWritten();
  const auto flushes = world.Flushes();
  if (c.start)
    bench::SpawnSpreadOver(world, 5000, 120);
  else
    bench::SaveAndReapply(world);
  EXPECT_GE(world.LinesWritten() - lines, c.at_least);
  EXPECT_LE(world.LinesWritten() - lines, c.at_most);
  EXPECT_EQ(world.Flushes() - flushes, world.LinesWritten() - lines) << "each line flushed";
  for (const auto& [id, dino] : world.Game().Creatures())
    ASSERT_LT(world.Game().RootScale(dino).X, 1.0) << "creature " << id << " left at full size";
}

INSTANTIATE_TEST_SUITE_P(
    WorldOperationsTest, WorldOperationLines,
    ::testing::Values(
        // The save's own line, whatever DebugLog says, and the first save's archive line.
        LinesCase{"SaveDebugLogOff", false, false, 2, 2},
        // Those, and ten creatures' restores written whole (five lines each).
        LinesCase{"SaveDebugLogOn", true, false, 52, 150},
        LinesCase{"StartDebugLogOff", false, true, 0, 0},
        // At least the first ten creatures' first applications (nine lines each).
        LinesCase{"StartDebugLogOn", true, true, 90, 1000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NameConversionCountTest, CountsEachCallOfFNameToStringAndNothingElse) {
  bench::BenchServer world;
  auto& server = world.Server();
  const auto to_string = reinterpret_cast<void (*)(const sim::FName*, sim::FString*)>(
      server.Lookup().FunctionAddress("FName.ToString(FString&)"));
  const sim::FName name = server.Names().Add(std::string("Dreadnoughtus_Character_BP_C"));
  const auto before = server.NameConversions();
  server.Lookup().FunctionAddress("FName.ToString(FString&)");
  EXPECT_EQ(server.NameConversions(), before);
  sim::FString text;
  to_string(&name, &text);
  to_string(&name, &text);
  EXPECT_EQ(server.NameConversions(), before + 2);
  server.Memory().Free(text.Data);
}

}  // namespace
