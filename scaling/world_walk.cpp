#include "scaling/world_walk.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

#include <fmt/format.h>

#include "base/game_handles.h"
#include "base/logger.h"
#include "config/plugin_settings.h"
#include "host/game.h"
#include "host/services.h"
#include "scaling/creature_verdict.h"
#include "scaling/detail_log_budget.h"
#include "scaling/scale_application.h"
#include "scaling/scale_restoration.h"
#include "scaling/shrink_gate.h"
#include "scaling/shrunk_record.h"
#include "selection/class_name.h"
#include "selection/creature_classification.h"

namespace tinyhorde {

bool ListCreatures(host::UWorld* world, const char* what, host::TArray<host::AActor*>& list,
                   std::string& error) {
  try {
    const GameHandles& game = GameHandleTable();
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

SettleResult BringWorldToSettings(host::UWorld* world, const char* label) {
  SettleResult result;
  if (world == nullptr) return result;
  // A world holds few classes: the verdict of the class met last is kept for the walk, and only
  // each creature's tamed state is asked anew. A settings write made meanwhile is seen by the
  // next walk, as if made after this one.
  const host::UClass* last_class = nullptr;
  CreatureVerdict verdict;
  const DetailLinesInstant instant;
  const bool debug = RestoreDebugLinesWanted();
  host::int32 restored = 0;
  static_cast<WalkResult&>(result) =
      VisitCreatures(world, "resize", [&](host::APrimalDinoCharacter* creature) {
        const host::UClass* cls = ClassOf(creature);
        if (cls == nullptr) return false;
        if (cls != last_class) {
          verdict = JudgeClassOf(creature);
          last_class = cls;
        }
        JudgeTamedState(creature, verdict);
        // Refused only when the creature does not qualify now.
        if (ApplyCreatureScale(creature, verdict, label, ApplyMode::kUnlessHeld)) return true;
        if (RestoreIfRecordedShrunk(creature, debug)) ++restored;
        return false;
      });
  result.restored = restored;
  return result;
}

WalkResult RestoreAllTargets(host::UWorld* world, const std::unordered_set<const void*>& skip) {
  const DetailLinesInstant instant;
  return VisitCreatures(world, "restore", [&skip](host::APrimalDinoCharacter* creature) {
    if (skip.count(creature) != 0 || !IsTargetCreature(creature)) return false;
    if (!RestoreNormalScaleAlways(creature)) throw std::runtime_error("restore incomplete");
    return true;
  });
}

void RestoreForUnload() {
  const DetailLinesInstant instant;
  const RestoreTally recorded = RestoreRecordedCreatures();
  int failed = recorded.failed;
  host::UWorld* world = host::CurrentWorld();
  int count = static_cast<int>(recorded.restored.size());
  if (world != nullptr) {
    const WalkResult walk = RestoreAllTargets(world, recorded.restored);
    count += walk.done;
    failed += walk.failed;
  }
  if (world != nullptr || count > 0)
    LogInfo(fmt::format("[Tinyhorde] Restored {} creature(s) to normal scale before unloading.",
                        count));
  // Whatever is still recorded was shrunk and could not be put back.
  failed = std::max(failed, static_cast<int>(RecordedShrunkCount()));
  if (failed > 0)
    LogError(
        fmt::format("[Tinyhorde] Could not restore {} creature(s) to normal scale before "
                    "unloading.",
                    failed));
}

std::string RestoredText(host::int32 count) {
  return "[Tinyhorde] Restored " + std::to_string(count) +
         " creature(s) that the settings no longer shrink.";
}

std::string LoadSummaryText(const SettleResult& result) {
  if (!result.listed) return {};
  std::string text = fmt::format(
      "[Tinyhorde] Loaded into a running world: {} creature(s) at their scale, {} restored to "
      "scale 1.0",
      result.done, result.restored);
  if (result.failed > 0) text += fmt::format(", {} could not be resized", result.failed);
  return text + ".";
}

}  // namespace tinyhorde
