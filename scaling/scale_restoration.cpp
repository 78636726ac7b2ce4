#include "scaling/scale_restoration.h"

#include <vector>

#include <fmt/format.h>

#include "config/plugin_settings.h"
#include "host/game.h"
#include "plugin/game_handles.h"
#include "plugin/logger.h"
#include "scaling/rider_camera.h"
#include "scaling/shrunk_record.h"
#include "selection/class_name.h"
#include "selection/creature_classification.h"

namespace tinyhorde {

bool RestoreNormalScale(host::APrimalDinoCharacter* creature) {
  if (creature == nullptr || !IsTargetCreature(creature)) return false;
  RestoreCreatureScale(creature);
  return true;
}

bool RestoreCreatureScale(host::APrimalDinoCharacter* creature) {
  if (creature == nullptr) return false;
  const host::FVector normal{1.0, 1.0, 1.0};
  bool complete = true;
  // Each write on its own: one failure never keeps the others from being restored.
  const auto attempt = [&complete](auto&& write) {
    try {
      write();
    } catch (...) {
      complete = false;
    }
  };
  const GameHandles& game = Game();
  attempt([&] { game.SetActorRelativeScale3D(reinterpret_cast<host::AActor*>(creature), normal); });
  host::FieldAt<host::FVector>(creature, game.BaseDinoScale) = normal;
  if (auto* root = host::FieldAt<host::USceneComponent*>(creature, game.RootComponent))
    host::FieldAt<host::FVector>(root, game.RelativeScale3D) = normal;
  if (auto* mesh = host::FieldAt<host::USceneComponent*>(creature, game.Mesh))
    host::FieldAt<host::FVector>(mesh, game.RelativeScale3D) = normal;
  // At 1.0 nothing is recorded: the offsets go straight back to their baselines.
  attempt([&] { ScaleRecordedRiderCamera(creature, 1.0); });
  if (complete) MarkRestored(creature);
  attempt([&] {
    if (ReadDebugLog() && HasLogger())
      LogInfo(fmt::format(
          "[Tinyhorde] Restored {} to normal scale 1.0 for vanilla cryopod/SCS/cloud storage/save",
          ClassNameText(creature)));
  });
  return complete;
}

void RestoreBeforeStorage(const void* creature) {
  if (creature == nullptr) return;
  auto* dino = static_cast<host::APrimalDinoCharacter*>(const_cast<void*>(creature));
  if (IsRecordedShrunk(creature))
    RestoreCreatureScale(dino);
  else
    RestoreNormalScale(dino);
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
    if (RestoreCreatureScale(creature))
      ++tally.restored;
    else
      ++tally.failed;
  }
  return tally;
}

}  // namespace tinyhorde
