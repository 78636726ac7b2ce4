// The world-sized operations: resize-all over 10,000 tamed targets already at their scale,
// against the bare-writes loop on the same world; the same command on 10,000 targets of which
// 1,000 no longer qualify and go back to full size; and a world save of 5,000 tamed targets with
// and without the plugin. Counters and times are per creature.
#include <memory>

#include <benchmark/benchmark.h>

#include "call_counters.h"
#include "world_operations.h"

namespace bench {

namespace {

constexpr int kResizeCreatures = 10000;
constexpr int kCreaturesToRestore = 1000;
constexpr int kSaveCreatures = 5000;
// Fixed iteration counts: a world takes longer to build than many runs of its operation, and
// Google Benchmark would build it again for every round of its own estimate.
constexpr int kResizeIterations = 20;
constexpr int kBareWritesIterations = 500;
constexpr int kSaveIterations = 3;

// Creatures first, then the plugin, loaded into the running server: it shrinks them all.
std::unique_ptr<BenchServer> TamedTargetsWorld(int creatures, bool with_plugin) {
  auto world = std::make_unique<BenchServer>();
  SpawnTamedTargets(*world, creatures);
  if (with_plugin) world->StartPlugin();
  return world;
}

template <typename Operation>
void RunOnResizeWorld(benchmark::State& state) {
  const auto world_owner = TamedTargetsWorld(kResizeCreatures, true);
  BenchServer& world = *world_owner;
  Operation operation(world);
  operation.Run();  // warm
  CounterReading start = ReadCounters(world.Server());
  for (auto _ : state) operation.Run();
  ReportCounters(state, ReadCounters(world.Server()) - start, kResizeCreatures);
}

struct PluginResizeAll {
  explicit PluginResizeAll(BenchServer& world) : command(world) {}
  void Run() { command.Run(); }
  ConsoleResizeAll command;
};

struct BareResizeAll {
  explicit BareResizeAll(BenchServer& world) : writes(world, FirstCreatureScale(world)) {}
  void Run() { writes.Run(); }
  BareWrites writes;
};

void BM_ResizeAll_Plugin(benchmark::State& state) {
  RunOnResizeWorld<PluginResizeAll>(state);
}
BENCHMARK(BM_ResizeAll_Plugin)
    ->Name("World/resize-all/plugin")
    ->Iterations(kResizeIterations)
    ->Unit(benchmark::kMillisecond);

void BM_ResizeAll_BareWrites(benchmark::State& state) {
  RunOnResizeWorld<BareResizeAll>(state);
}
BENCHMARK(BM_ResizeAll_BareWrites)
    ->Name("World/resize-all/bare writes")
    ->Iterations(kBareWritesIterations)
    ->Unit(benchmark::kMillisecond);

// Before each run the wild tenth is shrunk again (OnlyTamed off, a resize-all), uncounted; the
// run itself then finds it no longer qualifying once OnlyTamed is back on.
void BM_WorldToSettings_Plugin(benchmark::State& state) {
  BenchServer world;
  SpawnTargetsToRestore(world, kResizeCreatures, kCreaturesToRestore);
  ConsoleResizeAll command(world);
  CounterReading totals;
  bool first = true;
  for (auto _ : state) {
    state.PauseTiming();
    if (!first) {
      LoadOnlyTamed(world, false);
      command.Run();
      LoadOnlyTamed(world, true);
    }
    first = false;
    const CounterReading start = ReadCounters(world.Server());
    state.ResumeTiming();
    command.Run();
    state.PauseTiming();
    totals += ReadCounters(world.Server()) - start;
    state.ResumeTiming();
  }
  ReportCounters(state, totals, kResizeCreatures);
}
BENCHMARK(BM_WorldToSettings_Plugin)
    ->Name("World/world-to-settings/plugin, 1 in 10 restored")
    ->Iterations(kResizeIterations)
    ->Unit(benchmark::kMillisecond);

// Each save runs on a world of its own: the game keeps every record it stores, and a second
// save on the same world would write the first one's records again.
void RunSave(benchmark::State& state, bool with_plugin) {
  CounterReading totals;
  for (auto _ : state) {
    state.PauseTiming();
    auto world = TamedTargetsWorld(kSaveCreatures, with_plugin);
    const CounterReading start = ReadCounters(world->Server());
    state.ResumeTiming();
    world->Game().Save();
    state.PauseTiming();
    totals += ReadCounters(world->Server()) - start;
    world.reset();
    state.ResumeTiming();
  }
  ReportCounters(state, totals, kSaveCreatures);
}

void BM_Save_WithPlugin(benchmark::State& state) {
  RunSave(state, true);
}
BENCHMARK(BM_Save_WithPlugin)
    ->Name("World/save/with plugin")
    ->Iterations(kSaveIterations)
    ->Unit(benchmark::kMillisecond);

void BM_Save_WithoutPlugin(benchmark::State& state) {
  RunSave(state, false);
}
BENCHMARK(BM_Save_WithoutPlugin)
    ->Name("World/save/without plugin")
    ->Iterations(kSaveIterations)
    ->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace bench
