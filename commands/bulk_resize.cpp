#include "commands/bulk_resize.h"

#include <exception>

#include <fmt/format.h>

#include "config/plugin_settings.h"
#include "host/game.h"
#include "plugin/logger.h"
#include "scaling/scale_application.h"
#include "scaling/scale_restoration.h"
#include "selection/creature_classification.h"
#include "selection/tamed_state.h"

namespace tinyhorde {

namespace {

// Calls visit for every non-null creature actor of world, in the game's order, and answers how
// many visits said true. The list's buffer is the plugin's and is released on every path. A
// failure to list the creatures is logged and ends the walk; a failure on one creature skips
// that creature only. Nothing is thrown.
template <typename Visit>
host::int32 WalkCreatures(host::UWorld* world, const char* what, Visit visit) {
  host::int32 count = 0;
  try {
    auto* creature_class =
        host::CallGame<host::UClass*>("APrimalDinoCharacter.GetPrivateStaticClass()");
    host::TArray<host::AActor*> list;
    host::CallGame<void, host::UObject*, host::TSubclassOf<host::AActor>,
                   host::TArray<host::AActor*>*>(
        "UGameplayStatics.GetAllActorsOfClass(UObject*,TSubclassOf<AActor>,TArray<AActor*,"
        "TSizedDefaultAllocator<32>>&)",
        reinterpret_cast<host::UObject*>(world), host::TSubclassOf<host::AActor>{creature_class},
        &list);
    for (host::AActor* actor : list) {
      if (actor == nullptr) continue;
      try {
        if (visit(reinterpret_cast<host::APrimalDinoCharacter*>(actor))) ++count;
      } catch (...) {
      }
    }
  } catch (const std::exception& error) {
    LogError(fmt::format("[Tinyhorde] Could not list the creatures to {}: {}", what, error.what()));
  }
  return count;
}

}  // namespace

host::int32 ResizeAllTargets(host::UWorld* world, const char* label) {
  return WalkCreatures(world, "resize", [label](host::APrimalDinoCharacter* creature) {
    if (!IsTargetCreature(creature)) return false;
    const bool only_tamed = ReadOnlyTamed();
    if (only_tamed && !IsTamedCreature(creature)) return false;
    return ApplyCreatureScale(creature, label, true);
  });
}

host::int32 RestoreAllTargets(host::UWorld* world) {
  return WalkCreatures(world, "restore", [](host::APrimalDinoCharacter* creature) {
    return IsTargetCreature(creature) && RestoreNormalScale(creature);
  });
}

std::string ResizeResultText(host::int32 count) {
  return "[Tinyhorde] Resized " + std::to_string(count) +
         " tamed super-large creature(s) to Rex scale.";
}

}  // namespace tinyhorde
