#include "scaling/scale_restoration.h"

#include <stdexcept>
#include <vector>

#include <fmt/format.h>

#include "base/game_handles.h"
#include "base/logger.h"
#include "config/plugin_settings.h"
#include "host/game.h"
#include "scaling/detail_log_budget.h"
#include "scaling/rider_camera.h"
#include "scaling/shrunk_record.h"
#include "selection/class_name.h"
#include "selection/creature_classification.h"

namespace tinyhorde {

bool RestoreNormalScale(host::APrimalDinoCharacter* creature) {
  if (creature == nullptr) return false;
  // A creature shrunk while it was a target goes back even when the settings no longer name it.
  if (!IsRecordedShrunk(creature) && !IsTargetCreature(creature)) return false;
  RestoreNormalScaleAlways(creature);
  return true;
}

bool RestoreDebugLinesWanted() {
  return DebugLogSetting() && HasLogger();
}

namespace {

// Every write of a restore, each on its own: one failure never keeps the others from being
// restored. Answers whether every write took.
bool WriteFullSize(host::APrimalDinoCharacter* creature, DetailLines lines) {
  const host::FVector normal{1.0, 1.0, 1.0};
  bool complete = true;
  const auto attempt = [&complete](auto&& write) {
    try {
      write();
    } catch (...) {
      complete = false;
    }
  };
  const GameHandles& game = GameHandleTable();
  attempt([&] { game.SetActorRelativeScale3D(reinterpret_cast<host::AActor*>(creature), normal); });
  host::FieldAt<host::FVector>(creature, game.BaseDinoScale) = normal;
  if (auto* root = host::FieldAt<host::USceneComponent*>(creature, game.RootComponent))
    host::FieldAt<host::FVector>(root, game.RelativeScale3D) = normal;
  if (auto* mesh = host::FieldAt<host::USceneComponent*>(creature, game.Mesh))
    host::FieldAt<host::FVector>(mesh, game.RelativeScale3D) = normal;
  // At 1.0 nothing is recorded: the offsets go straight back to their baselines.
  attempt([&] { RestoreRiderCamera(creature, lines); });
  return complete;
}

// The debug line of a restore, written or counted as held back; answers false when writing it
// failed.
bool LogRestored(host::APrimalDinoCharacter* creature, DetailLines lines) {
  if (lines == DetailLines::kHoldBack) CountHeldBackLines(1);
  if (lines != DetailLines::kWrite) return true;
  try {
    LogInfo(fmt::format(
        "[Tinyhorde] Restored {} to normal scale 1.0 for vanilla cryopod/SCS/cloud storage/save",
        ClassNameText(creature)));
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

bool RestoreNormalScaleAlways(host::APrimalDinoCharacter* creature) {
  if (creature == nullptr) return false;
  const DetailLines lines = TakeDetailLines();
  const bool complete = WriteFullSize(creature, lines);
  if (complete) MarkRestored(creature);
  return LogRestored(creature, lines) && complete;
}

bool RestoreIfRecordedShrunk(host::APrimalDinoCharacter* creature, bool debug) {
  if (creature == nullptr || !TakeShrunk(creature)) return false;
  if (host::IsFlagSetIn(creature, GameHandleTable().bIsDead)) {
    KeepShrunk(creature);
    return false;
  }
  // Marked restored by TakeShrunk; marked shrunk again when a write did not take.
  const DetailLines lines = debug ? TakeDetailLines() : DetailLines::kOff;
  const bool complete = WriteFullSize(creature, lines);
  if (!complete) KeepShrunk(creature);
  if (!LogRestored(creature, lines) || !complete) throw std::runtime_error("restore incomplete");
  return true;
}

RestoreTally RestoreRecordedCreatures() {
  RestoreTally tally;
  std::vector<host::APrimalDinoCharacter*> creatures;
  try {
    creatures = RecordedShrunkCreatures();
  } catch (...) {
    // Without weak references no entry can be told from a stale one: none is touched.
    tally.failed = static_cast<int>(RecordedShrunkCount());
    return tally;
  }
  for (auto* creature : creatures) {
    if (RestoreNormalScaleAlways(creature))
      tally.restored.insert(creature);
    else
      ++tally.failed;
  }
  return tally;
}

}  // namespace tinyhorde
