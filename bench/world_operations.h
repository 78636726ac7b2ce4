// The world-sized operations the benchmarks and the instruction counts measure: resize-all as an
// admin types it (which brings the world to the settings), the same three scale writes done
// bare, and a world save. Each is built once over a world and can then be run again and again;
// none changes the world when its creatures are already at their scale.
#pragma once

#include <functional>

#include "bench_server.h"
#include "sim/game_types.h"

namespace bench {

// One player and count creatures of the target species tamed by that player, each begun play.
// When the plugin is running they are at their scale afterwards; the re-applications their
// spawning scheduled are dropped, as if they had fired.
void SpawnTamedTargets(BenchServer& world, int count);

// A world where bringing the creatures to the settings has creatures to put back: count
// creatures of the target species, every tenth of them wild (to_restore in all, at most one in
// ten) and the rest tamed, all shrunk by the plugin, started here while its config.json has
// OnlyTamed off. OnlyTamed is then switched on through config.json and the plugin's loader, as a
// reload reads it but without its walk, so the wild ones no longer qualify and must go back.
// The plugin must not be running yet.
void SpawnTargetsToRestore(BenchServer& world, int count, int to_restore);
// Sets OnlyTamed as above: config.json, then the plugin's loader; no creature is touched.
void LoadOnlyTamed(BenchServer& world, bool only_tamed);

// "hordesize.resizeall" typed on the server console (no calling player), through the command
// the plugin registered with the host. Throws std::runtime_error when none is registered.
class ConsoleResizeAll {
 public:
  explicit ConsoleResizeAll(BenchServer& world);
  ~ConsoleResizeAll();
  ConsoleResizeAll(const ConsoleResizeAll&) = delete;
  ConsoleResizeAll& operator=(const ConsoleResizeAll&) = delete;

  void Run();

 private:
  std::function<void(void*, void*, bool)> handler_;
  sim::FString line_;
};

// What resize-all cannot do with less: list the creature actors through the game function the
// plugin uses, then for each one only the game's three scale writes (SetActorRelativeScale3D
// through its address, BaseDinoScale, the mesh's RelativeScale3D), with every function address
// and field offset resolved beforehand. The list's buffer is released as the plugin must.
class BareWrites {
 public:
  // Resolves the names; writes scale to every creature on each run.
  BareWrites(BenchServer& world, double scale);
  void Run();

 private:
  BenchServer& world_;
  sim::FVector scale_;
  sim::UClass* creature_class_;
  void (*list_)(sim::UObject*, const sim::TSubclassOf<sim::AActor>*, sim::TArray<sim::AActor*>&);
  void (*set_scale_)(sim::AActor*, sim::FVector);
  void (*free_)(void*);
  std::size_t base_dino_scale_;
  std::size_t mesh_;
  std::size_t relative_scale_;
};

// count tamed targets, then the plugin started (it shrinks them all), then a minute of game time
// with nothing happening: DebugLog's budget is full again, as on a server at rest.
inline constexpr double kRestSeconds = 60;
void SpawnShrunkTargetsAtRest(BenchServer& world, int count);

// A world save, then the game's clock advanced by kReapplySeconds: the plugin's re-application of
// the creatures it put back runs within it.
inline constexpr double kReapplySeconds = 2;
void SaveAndReapply(BenchServer& world);

// A start: one player, then count creatures of the target species tamed by that player beginning
// play one after the other, evenly over seconds of game time, and the clock advanced until the
// last one's 3 s pass has run (kLastPassSeconds after it) and the timers it set are done.
inline constexpr double kLastPassSeconds = 4;
void SpawnSpreadOver(BenchServer& world, int count, double seconds);

// The root scale of the world's first creature: what resize-all leaves on every target.
double FirstCreatureScale(BenchServer& world);

}  // namespace bench
