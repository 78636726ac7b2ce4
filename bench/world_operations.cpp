#include "world_operations.h"

#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>

#include "config/load_config.h"

namespace bench {

namespace {

// The bench server's config.json with OnlyTamed set; read when the plugin starts or reloads.
void WriteConfig(BenchServer& world, bool only_tamed) {
  std::ofstream(world.Server().PluginDir() / "config.json")
      << "{\"DebugLog\": " << (world.DebugLog() ? "true" : "false")
      << ", \"OnlyTamed\": " << (only_tamed ? "true" : "false") << "}\n";
}

}  // namespace

void SpawnTamedTargets(BenchServer& world, int count) {
  auto& game = world.Game();
  const int owner = game.AddPlayer("Owner", false);
  for (int i = 0; i < count; ++i) game.Spawn(kTargetSpecies, owner, std::nullopt);
  world.DropTimers();
}

void SpawnTargetsToRestore(BenchServer& world, int count, int to_restore) {
  if (world.PluginStarted()) throw std::logic_error("the plugin must start after the spawns");
  if (to_restore > count / 10) throw std::invalid_argument("at most one creature in ten is wild");
  auto& game = world.Game();
  const int owner = game.AddPlayer("Owner", false);
  for (int i = 0; i < count; ++i) {
    const bool wild = i % 10 == 0 && i / 10 < to_restore;
    game.Spawn(kTargetSpecies, wild ? std::nullopt : std::optional<int>(owner), std::nullopt);
  }
  WriteConfig(world, false);
  world.StartPlugin();
  world.DropTimers();
  LoadOnlyTamed(world, true);
}

void LoadOnlyTamed(BenchServer& world, bool only_tamed) {
  WriteConfig(world, only_tamed);
  if (tinyhorde::LoadConfig().status != tinyhorde::ConfigLoadStatus::Loaded)
    throw std::runtime_error("the plugin could not load its config.json");
}

ConsoleResizeAll::ConsoleResizeAll(BenchServer& world) {
  const std::u16string typed = u"hordesize.resizeall";
  if (!world.Server().Commands().console.Find(typed, handler_))
    throw std::runtime_error("the plugin registered no console command hordesize.resizeall");
  line_ = sim::MakeGameString(typed);
}

ConsoleResizeAll::~ConsoleResizeAll() {
  sim::ReleaseGameString(line_);
}

void ConsoleResizeAll::Run() {
  handler_(nullptr, &line_, false);
}

BareWrites::BareWrites(BenchServer& world, double scale)
    : world_(world), scale_{scale, scale, scale} {
  auto& names = world.Server().Lookup();
  namespace game_names = host::game_names;
  const auto function = [&names](const host::GameName& name) {
    return names.FunctionAddress(name.name);
  };
  creature_class_ =
      reinterpret_cast<sim::UClass* (*)()>(function(game_names::kCreatureStaticClass))();
  list_ = reinterpret_cast<decltype(list_)>(function(game_names::kGetAllActorsOfClass));
  set_scale_ =
      reinterpret_cast<decltype(set_scale_)>(function(game_names::kSetActorRelativeScale3D));
  free_ = reinterpret_cast<decltype(free_)>(function(game_names::kFree));
  base_dino_scale_ = names.FieldAddress(nullptr, game_names::kBaseDinoScale.name).value();
  mesh_ = names.FieldAddress(nullptr, game_names::kMesh.name).value();
  relative_scale_ = names.FieldAddress(nullptr, game_names::kRelativeScale3D.name).value();
}

void BareWrites::Run() {
  sim::TArray<sim::AActor*> actors;
  const sim::TSubclassOf<sim::AActor> creature_class{creature_class_};
  list_(reinterpret_cast<sim::UObject*>(world_.Game().World()), &creature_class, actors);
  for (std::int32_t i = 0; i < actors.ArrayNum; ++i) {
    auto* actor = reinterpret_cast<char*>(actors.Data[i]);
    if (actor == nullptr) continue;
    set_scale_(actors.Data[i], scale_);
    *reinterpret_cast<sim::FVector*>(actor + base_dino_scale_) = scale_;
    if (auto* mesh = *reinterpret_cast<char**>(actor + mesh_))
      *reinterpret_cast<sim::FVector*>(mesh + relative_scale_) = scale_;
  }
  free_(actors.Data);
}

void SpawnShrunkTargetsAtRest(BenchServer& world, int count) {
  SpawnTamedTargets(world, count);
  world.StartPlugin();
  world.Wait(kRestSeconds);
  world.DropTimers();
}

void SaveAndReapply(BenchServer& world) {
  world.Game().Save();
  world.Wait(kReapplySeconds);
}

void SpawnSpreadOver(BenchServer& world, int count, double seconds) {
  auto& game = world.Game();
  const int owner = game.AddPlayer("Owner", false);
  double clock = 0;
  for (int i = 0; i < count; ++i) {
    const double due = seconds * i / count;
    world.Wait(due - clock);
    clock = due;
    game.Spawn(kTargetSpecies, owner, std::nullopt);
  }
  world.Wait(seconds - clock + kLastPassSeconds);
}

double FirstCreatureScale(BenchServer& world) {
  const auto& creatures = world.Game().Creatures();
  if (creatures.empty()) throw std::runtime_error("the world has no creature");
  return world.Game().RootScale(creatures.begin()->second).X;
}

}  // namespace bench
