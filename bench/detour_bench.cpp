// Every detour of the plugin, called through its hook's entry on each kind of subject its game
// function takes: a target creature already at its scale, a creature of another species, and a
// player character (creature-only functions never get a player). The game's own functions are
// stand-ins that do nothing (game_stand_ins.h), so each benchmark is the detour alone.
//
// After one uncounted call, calls rotate over a batch of subjects; before each batch, with the
// clock stopped, pending timers are dropped and targets a detour restored are shrunk again.
// Counters cover the calls only and are per call.
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "call_counters.h"
#include "detour_cases.h"
#include "detour_world.h"

namespace bench {

namespace {

void RunDetour(benchmark::State& state, const DetourCase& detour, Subject subject) {
  DetourWorld world;
  if (!world.TargetsShrunk()) {
    state.SkipWithError("starting the plugin left a target at full size");
    return;
  }
  const auto& subjects = world.Of(subject);
  const Preparation preparation =
      subject == Subject::kTarget ? detour.target_preparation : Preparation::kAtScale;
  // One uncounted call first: what the plugin keeps per class (its verdict, its camera layout)
  // is built when it first meets the class, once, not per call.
  detour.call(world, subjects.front());
  if (!world.Prepare(subject, preparation)) {
    state.SkipWithError("a target could not be brought back to its scale");
    return;
  }
  CounterReading totals;
  CounterReading start = ReadCounters(world.Server());
  std::size_t next = 0;
  for (auto _ : state) {
    if (next == subjects.size()) {
      totals += ReadCounters(world.Server()) - start;
      state.PauseTiming();
      const bool prepared = world.Prepare(subject, preparation);
      state.ResumeTiming();
      if (!prepared) {
        state.SkipWithError("a target could not be brought back to its scale");
        break;
      }
      start = ReadCounters(world.Server());
      next = 0;
    }
    detour.call(world, subjects[next++]);
  }
  totals += ReadCounters(world.Server()) - start;
  ReportCounters(state, totals, 1);
}

[[maybe_unused]] const bool registered = [] {
  for (const auto& detour : DetourCases())
    for (Subject subject : detour.subjects)
      benchmark::RegisterBenchmark(
          (std::string("Detour/") + detour.name + "/" + SubjectName(subject) +
           (subject == Subject::kTarget && detour.target_preparation == Preparation::kAsBuilt
                ? " as built"
                : ""))
              .c_str(),
          [&detour, subject](benchmark::State& state) { RunDetour(state, detour, subject); });
  return true;
}();

}  // namespace

}  // namespace bench
