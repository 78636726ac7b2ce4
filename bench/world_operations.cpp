#include "world_operations.h"

#include <stdexcept>
#include <string>

namespace bench {

void SpawnTamedTargets(BenchServer& world, int count) {
  auto& game = world.Game();
  const int owner = game.AddPlayer("Owner", false);
  for (int i = 0; i < count; ++i) game.Spawn(kTargetSpecies, owner, std::nullopt);
  world.DropTimers();
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
  const auto function = [&names](const char* name) { return names.FunctionAddress(name); };
  creature_class_ = reinterpret_cast<sim::UClass* (*)()>(
      function("APrimalDinoCharacter.GetPrivateStaticClass()"))();
  list_ = reinterpret_cast<decltype(list_)>(
      function("UGameplayStatics.GetAllActorsOfClass(UObject*,TSubclassOf<AActor>,TArray<AActor*,"
               "TSizedDefaultAllocator<32>>&)"));
  set_scale_ = reinterpret_cast<decltype(set_scale_)>(
      function("AActor.SetActorRelativeScale3D(UE::Math::TVector<double>)"));
  free_ = reinterpret_cast<decltype(free_)>(function("FMemory.Free(void*)"));
  base_dino_scale_ = names.FieldAddress(nullptr, "APrimalDinoCharacter.BaseDinoScale").value();
  mesh_ = names.FieldAddress(nullptr, "ACharacter.Mesh").value();
  relative_scale_ = names.FieldAddress(nullptr, "USceneComponent.RelativeScale3D").value();
}

void BareWrites::Run() {
  sim::TArray<sim::AActor*> actors;
  list_(reinterpret_cast<sim::UObject*>(world_.Game().World()),
        sim::TSubclassOf<sim::AActor>{creature_class_}, actors);
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

double FirstCreatureScale(BenchServer& world) {
  const auto& creatures = world.Game().Creatures();
  if (creatures.empty()) throw std::runtime_error("the world has no creature");
  return world.Game().RootScale(creatures.begin()->second).X;
}

}  // namespace bench
