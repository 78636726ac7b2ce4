// What the detours on the game's busiest functions cost: TakeDamage and Serialize run for every
// character, players included, and the stasis wake of a creature already at its scale.
// Run from the release build: build/release/bench/hot_paths_bench
#include <benchmark/benchmark.h>

#include <filesystem>

#include "config/plugin_settings.h"
#include "hooks/detours.h"
#include "plugin/lifecycle.h"
#include "sim/game_functions.h"
#include "sim/server.h"

namespace {

struct World {
  World()
      : server(sim::ServerOptions{std::filesystem::temp_directory_path() / "tinyhorde-bench",
                                  {},
                                  [](const std::string&) {}}) {
    tinyhorde::InitializePlugin();
    {
      std::lock_guard<std::mutex> lock(tinyhorde::SettingsMutex);
      tinyhorde::PluginSettings.DebugLog = false;
    }
    auto& game = server.GameWorld();
    game.record_calls = false;
    player = game.AddPlayer("Bench", false);
    dino = game.Spawn("Dreadnoughtus_Character_BP_C", player, std::nullopt);
  }
  ~World() { tinyhorde::UnloadPlugin(); }
  sim::Server server;
  int player = 0;
  int dino = 0;
};

World& TheWorld() {
  static World world;
  return world;
}

void BM_TakeDamageOnPlayer(benchmark::State& state) {
  auto& game = TheWorld().server.GameWorld();
  auto* character = &game.PlayerById(TheWorld().player).character->PrimalCharacter;
  auto* causer = reinterpret_cast<sim::AActor*>(game.CreatureObject(TheWorld().dino));
  sim::FDamageEvent event;
  const auto take =
      sim::HookTable::Entry<sim::CharacterTakeDamageFn>(game.Entry(sim::Hook::TakeDamage));
  for (auto _ : state) benchmark::DoNotOptimize(take(character, 0.f, &event, nullptr, causer));
}
BENCHMARK(BM_TakeDamageOnPlayer);

void BM_SerializeLoadingArchive(benchmark::State& state) {
  auto& game = TheWorld().server.GameWorld();
  auto* dino = &game.CreatureObject(TheWorld().dino)->PrimalCharacter;
  sim::SimArchive archive(nullptr, false);
  const auto serialize =
      sim::HookTable::Entry<sim::CharacterSerializeFn>(game.Entry(sim::Hook::Serialize));
  for (auto _ : state) serialize(dino, &archive.base);
}
BENCHMARK(BM_SerializeLoadingArchive);

void BM_UnstasisAlreadyAtScale(benchmark::State& state) {
  auto& game = TheWorld().server.GameWorld();
  for (auto _ : state) game.Wake(TheWorld().dino);
}
BENCHMARK(BM_UnstasisAlreadyAtScale);

}  // namespace

BENCHMARK_MAIN();
