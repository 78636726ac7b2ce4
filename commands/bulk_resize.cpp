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
#include "selection/class_name.h"
#include "selection/creature_classification.h"

namespace tinyhorde {

bool ListCreatures(host::UWorld* world, const char* what, host::TArray<host::AActor*>& list,
                   std::string& error) {
  try {
    const GameHandles& game = Game();
    // Without the creature class the game would list every actor.
    if (!game.CreatureClass.Resolved()) throw host::UnknownGameName(game.CreatureClass.Name());
    const host::TSubclassOf<host::AActor> creature_class{CreatureClassObject()};
    game.GetAllActorsOfClass(reinterpret_cast<host::UObject*>(world), &creature_class, &list);
    return true;
  } catch (const std::exception& failure) {
    error = failure.what();
    LogError(fmt::format("[Tinyhorde] Could not list the creatures to {}: {}", what, error));
  }
  return false;
}

WalkResult ResizeAllTargets(host::UWorld* world, const char* label) {
  // A world holds few classes: the verdict of the class met last is kept for the walk. A
  // settings write made meanwhile is seen by the next walk, as if made after this one.
  const host::UClass* last_class = nullptr;
  ClassVerdict verdict;
  return VisitCreatures(world, "resize", [&](host::APrimalDinoCharacter* creature) {
    const host::UClass* cls = ClassOf(creature);
    if (cls == nullptr) return false;
    if (cls != last_class) {
      verdict = ClassifyCreature(creature);
      last_class = cls;
    }
    return ApplyCreatureScaleUnlessHeld(creature, verdict, label);
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
