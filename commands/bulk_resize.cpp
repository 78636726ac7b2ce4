#include "commands/bulk_resize.h"

#include "config/plugin_settings.h"
#include "host/game.h"
#include "scaling/scale_application.h"
#include "scaling/scale_restoration.h"
#include "selection/creature_classification.h"
#include "selection/tamed_state.h"

namespace tinyhorde {

namespace {

// Every creature actor of the world, as the game lists them. The list's storage is released when
// it goes out of scope.
host::TArray<host::AActor*> CreatureActors(host::UWorld* world) {
  auto* creature_class =
      host::CallGame<host::UClass*>("APrimalDinoCharacter.GetPrivateStaticClass()");
  host::TArray<host::AActor*> actors;
  host::CallGame<void, host::UObject*, host::TSubclassOf<host::AActor>,
                 host::TArray<host::AActor*>*>(
      "UGameplayStatics.GetAllActorsOfClass(UObject*,TSubclassOf<AActor>,TArray<AActor*,"
      "TSizedDefaultAllocator<32>>&)",
      reinterpret_cast<host::UObject*>(world), host::TSubclassOf<host::AActor>{creature_class},
      &actors);
  return actors;
}

}  // namespace

host::int32 ResizeAllTargets(host::UWorld* world, const char* label) {
  host::int32 count = 0;
  for (host::AActor* actor : CreatureActors(world)) {
    if (actor == nullptr || !IsTargetCreature(actor)) continue;
    auto* creature = reinterpret_cast<host::APrimalDinoCharacter*>(actor);
    if (ReadOnlyTamed() && !IsTamedCreature(creature)) continue;
    if (ApplyCreatureScale(creature, label, true)) ++count;
  }
  return count;
}

host::int32 RestoreAllTargets(host::UWorld* world) {
  host::int32 count = 0;
  for (host::AActor* actor : CreatureActors(world))
    if (actor != nullptr &&
        RestoreNormalScale(reinterpret_cast<host::APrimalDinoCharacter*>(actor)))
      ++count;
  return count;
}

std::string ResizeResultText(host::int32 count) {
  return "[Tinyhorde] Resized " + std::to_string(count) +
         " tamed super-large creature(s) to Rex scale.";
}

}  // namespace tinyhorde
