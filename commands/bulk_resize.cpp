#include "commands/bulk_resize.h"

#include <exception>
#include <stdexcept>

#include <fmt/format.h>

#include "config/plugin_settings.h"
#include "host/game.h"
#include "plugin/game_handles.h"
#include "plugin/logger.h"
#include "scaling/scale_application.h"
#include "scaling/scale_restoration.h"
#include "scaling/shrink_gate.h"
#include "selection/creature_classification.h"
#include "selection/tamed_state.h"

namespace tinyhorde {

WalkResult VisitCreatures(host::UWorld* world, const char* what,
                          const std::function<bool(host::APrimalDinoCharacter*)>& visit) {
  WalkResult result;
  try {
    const GameHandles& game = Game();
    // Without the creature class the game would list every actor.
    if (!game.CreatureClass.Resolved()) throw host::UnknownGameName(game.CreatureClass.Name());
    host::TArray<host::AActor*> list;
    game.GetAllActorsOfClass(reinterpret_cast<host::UObject*>(world),
                             host::TSubclassOf<host::AActor>{CreatureClassObject()}, &list);
    for (host::AActor* actor : list) {
      if (actor == nullptr) continue;
      try {
        if (visit(reinterpret_cast<host::APrimalDinoCharacter*>(actor))) ++result.done;
      } catch (...) {
        ++result.failed;
      }
    }
  } catch (const std::exception& error) {
    result.listed = false;
    result.error = error.what();
    LogError(fmt::format("[Tinyhorde] Could not list the creatures to {}: {}", what, error.what()));
  }
  return result;
}

WalkResult ResizeAllTargets(host::UWorld* world, const char* label) {
  return VisitCreatures(world, "resize", [label](host::APrimalDinoCharacter* creature) {
    if (!IsTargetCreature(creature)) return false;
    const bool only_tamed = ReadOnlyTamed();
    if (only_tamed && !IsTamedCreature(creature)) return false;
    return ApplyCreatureScale(creature, label, true);
  });
}

WalkResult RestoreAllTargets(host::UWorld* world, const std::unordered_set<const void*>& skip) {
  return VisitCreatures(world, "restore", [&skip](host::APrimalDinoCharacter* creature) {
    if (skip.count(creature) != 0 || !IsTargetCreature(creature)) return false;
    if (!RestoreCreatureScale(creature)) throw std::runtime_error("restore incomplete");
    return true;
  });
}

ResizeAnswer ResizeAllForCommand(host::UWorld* world, const char* label) {
  if (!ShrinkingAllowed()) {
    const std::string text = "[Tinyhorde] Shrinking is off: " + ShrinkingOffReason() + ".";
    return {false, text, text};
  }
  const WalkResult result = ResizeAllTargets(world, label);
  if (!result.listed) {
    const std::string text = "[Tinyhorde] Resize failed: " + result.error;
    return {false, text, text};
  }
  const std::string text = ResizeResultText(result.done);
  if (result.failed == 0) return {true, text, text};
  return {true, text, fmt::format("{} {} could not be resized.", text, result.failed)};
}

std::string ResizeResultText(host::int32 count) {
  return "[Tinyhorde] Resized " + std::to_string(count) +
         " tamed super-large creature(s) to Rex scale.";
}

}  // namespace tinyhorde
