#include "call_counters.h"

#include "heap_counter.h"

namespace bench {

CounterReading& CounterReading::operator+=(const CounterReading& other) {
  lookups += other.lookups;
  fmemory_allocations += other.fmemory_allocations;
  heap_allocations += other.heap_allocations;
  name_conversions += other.name_conversions;
  timers += other.timers;
  return *this;
}

CounterReading CounterReading::operator-(const CounterReading& earlier) const {
  return CounterReading{lookups - earlier.lookups,
                        fmemory_allocations - earlier.fmemory_allocations,
                        heap_allocations - earlier.heap_allocations,
                        name_conversions - earlier.name_conversions, timers - earlier.timers};
}

CounterReading ReadCounters(sim::Server& server) {
  return CounterReading{server.Lookup().Lookups(), server.Memory().Allocations(), HeapAllocations(),
                        server.NameConversions(),
                        static_cast<std::int64_t>(server.Clock().Pending().size())};
}

void ReportCounters(benchmark::State& state, const CounterReading& totals, double per_iteration) {
  const double units = static_cast<double>(state.iterations()) * per_iteration;
  if (units <= 0) return;
  state.counters["lookups"] = static_cast<double>(totals.lookups) / units;
  state.counters["fmemory_allocs"] = static_cast<double>(totals.fmemory_allocations) / units;
  state.counters["heap_allocs"] = static_cast<double>(totals.heap_allocations) / units;
  state.counters["name_conversions"] = static_cast<double>(totals.name_conversions) / units;
  state.counters["timers"] = static_cast<double>(totals.timers) / units;
  state.counters["per_iteration"] = per_iteration;
}

}  // namespace bench
