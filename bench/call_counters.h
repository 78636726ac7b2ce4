// What a stretch of benchmarked calls cost besides time: name look-ups on the host, FMemory
// allocations, heap allocations, name-to-text conversions ("FName.ToString(FString&)") and
// timers handed to the host. A reading is taken before and after the measured calls only.
#pragma once

#include <cstdint>

#include <benchmark/benchmark.h>

#include "sim/server.h"

namespace bench {

struct CounterReading {
  std::uint64_t lookups = 0;
  std::uint64_t fmemory_allocations = 0;
  std::uint64_t heap_allocations = 0;
  std::uint64_t name_conversions = 0;
  std::int64_t timers = 0;  // pending timers; dropping them between readings is not counted

  CounterReading& operator+=(const CounterReading& other);
  CounterReading operator-(const CounterReading& earlier) const;
};

CounterReading ReadCounters(sim::Server& server);

// Sets the benchmark's counters to totals divided by the iterations times per_iteration (the
// calls, or the creatures, each iteration stands for).
void ReportCounters(benchmark::State& state, const CounterReading& totals, double per_iteration);

}  // namespace bench
