// The world-sized operations: resize-all over 10,000 tamed targets already at their scale,
// against the bare-writes loop on the same world; the same command on 10,000 targets of which
// 1,000 no longer qualify and go back to full size; a world save of 5,000 tamed targets with
// and without the plugin; and, with DebugLog off beside on, the save through its re-application,
// a start of 5,000 tamed targets beginning play over 120 s, and the unload. Counters and times
// are per creature; "lines" counts the lines the plugin wrote in one run of the operation.
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
constexpr int kStartCreatures = 5000;
constexpr double kStartSeconds = 120;
constexpr int kStartIterations = 2;

// The plugin's lines per run, beside the counters.
void ReportLines(benchmark::State& state, std::uint64_t lines) {
  const auto runs = static_cast<double>(state.iterations());
  if (runs > 0) state.counters["lines"] = static_cast<double>(lines) / runs;
}

// Creatures first, then the plugin, loaded into the running server: it shrinks them all.
std::unique_ptr<BenchServer> TamedTargetsWorld(int creatures, bool with_plugin,
                                               bool debug_log = false) {
  auto world = std::make_unique<BenchServer>(debug_log);
  SpawnTamedTargets(*world, creatures);
  if (with_plugin) world->StartPlugin();
  return world;
}

template <typename Operation>
void RunOnResizeWorld(benchmark::State& state, bool debug_log = false) {
  const auto world_owner = TamedTargetsWorld(kResizeCreatures, true, debug_log);
  BenchServer& world = *world_owner;
  Operation operation(world);
  operation.Run();  // warm
  CounterReading start = ReadCounters(world.Server());
  const std::uint64_t lines = world.LinesWritten();
  for (auto _ : state) operation.Run();
  ReportCounters(state, ReadCounters(world.Server()) - start, kResizeCreatures);
  ReportLines(state, world.LinesWritten() - lines);
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

template <bool kDebugLog>
void BM_ResizeAll_Plugin(benchmark::State& state) {
  RunOnResizeWorld<PluginResizeAll>(state, kDebugLog);
}
BENCHMARK_TEMPLATE(BM_ResizeAll_Plugin, false)
    ->Name("World/resize-all/plugin")
    ->Iterations(kResizeIterations)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_ResizeAll_Plugin, true)
    ->Name("World/resize-all/plugin, DebugLog on")
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
template <bool kDebugLog>
void BM_WorldToSettings_Plugin(benchmark::State& state) {
  BenchServer world(kDebugLog);
  SpawnTargetsToRestore(world, kResizeCreatures, kCreaturesToRestore);
  ConsoleResizeAll command(world);
  CounterReading totals;
  std::uint64_t lines = 0;
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
    const std::uint64_t lines_before = world.LinesWritten();
    state.ResumeTiming();
    command.Run();
    state.PauseTiming();
    totals += ReadCounters(world.Server()) - start;
    lines += world.LinesWritten() - lines_before;
    state.ResumeTiming();
  }
  ReportCounters(state, totals, kResizeCreatures);
  ReportLines(state, lines);
}
BENCHMARK_TEMPLATE(BM_WorldToSettings_Plugin, false)
    ->Name("World/world-to-settings/plugin, 1 in 10 restored")
    ->Iterations(kResizeIterations)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_WorldToSettings_Plugin, true)
    ->Name("World/world-to-settings/plugin, 1 in 10 restored, DebugLog on")
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

// Each run on a world of its own, built uncounted; operation runs on it counted and timed.
template <typename Build, typename Operation>
void RunOnFreshWorlds(benchmark::State& state, bool debug_log, int creatures, Build&& build,
                      Operation&& operation) {
  CounterReading totals;
  std::uint64_t lines = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto world = std::make_unique<BenchServer>(debug_log);
    build(*world);
    const CounterReading start = ReadCounters(world->Server());
    const std::uint64_t lines_before = world->LinesWritten();
    state.ResumeTiming();
    operation(*world);
    state.PauseTiming();
    totals += ReadCounters(world->Server()) - start;
    lines += world->LinesWritten() - lines_before;
    world.reset();
    state.ResumeTiming();
  }
  ReportCounters(state, totals, creatures);
  ReportLines(state, lines);
}

// The save as the game makes it: the plugin's re-application runs in the 2 s after it.
template <bool kDebugLog>
void BM_SaveAndReapply(benchmark::State& state) {
  RunOnFreshWorlds(
      state, kDebugLog, kSaveCreatures,
      [](BenchServer& world) { SpawnShrunkTargetsAtRest(world, kSaveCreatures); },
      [](BenchServer& world) { SaveAndReapply(world); });
}
BENCHMARK_TEMPLATE(BM_SaveAndReapply, false)
    ->Name("World/save and re-application/DebugLog off")
    ->Iterations(kSaveIterations)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_SaveAndReapply, true)
    ->Name("World/save and re-application/DebugLog on")
    ->Iterations(kSaveIterations)
    ->Unit(benchmark::kMillisecond);

// A server's start: the plugin loaded, then the creatures beginning play over two minutes.
template <bool kDebugLog>
void BM_Start(benchmark::State& state) {
  RunOnFreshWorlds(
      state, kDebugLog, kStartCreatures, [](BenchServer& world) { world.StartPlugin(); },
      [](BenchServer& world) { SpawnSpreadOver(world, kStartCreatures, kStartSeconds); });
}
BENCHMARK_TEMPLATE(BM_Start, false)
    ->Name("World/start over 120 s/DebugLog off")
    ->Iterations(kStartIterations)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Start, true)
    ->Name("World/start over 120 s/DebugLog on")
    ->Iterations(kStartIterations)
    ->Unit(benchmark::kMillisecond);

// The unload over a world of shrunk targets: each goes back to full size.
template <bool kDebugLog>
void BM_Unload(benchmark::State& state) {
  RunOnFreshWorlds(
      state, kDebugLog, kSaveCreatures,
      [](BenchServer& world) { SpawnShrunkTargetsAtRest(world, kSaveCreatures); },
      [](BenchServer& world) { world.StopPlugin(); });
}
BENCHMARK_TEMPLATE(BM_Unload, false)
    ->Name("World/unload/DebugLog off")
    ->Iterations(kSaveIterations)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Unload, true)
    ->Name("World/unload/DebugLog on")
    ->Iterations(kSaveIterations)
    ->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace bench
