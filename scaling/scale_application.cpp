#include "scaling/scale_application.h"

#include <cmath>

#include <fmt/format.h>

#include "base/game_handles.h"
#include "base/logger.h"
#include "config/plugin_settings.h"
#include "host/game.h"
#include "scaling/creature_verdict.h"
#include "scaling/detail_log_budget.h"
#include "scaling/rider_camera.h"
#include "scaling/shrink_gate.h"
#include "scaling/shrunk_record.h"

namespace tinyhorde {

namespace {

bool AtScale(const host::FVector& v, double s) {
  return std::fabs(v.X - s) < kAtScaleTolerance && std::fabs(v.Y - s) < kAtScaleTolerance &&
         std::fabs(v.Z - s) < kAtScaleTolerance;
}

bool Exactly(const host::FVector& v, double s) {
  return v.X == s && v.Y == s && v.Z == s;
}

// Whether every place an application writes already holds what it would write; with
// cameraLines, also how many camera lines writing it again would log.
bool HoldsScale(host::APrimalDinoCharacter* creature, const GameHandles& game, double scale,
                double cameraScale, std::size_t* cameraLines = nullptr) {
  auto* root = host::FieldAt<host::USceneComponent*>(creature, game.RootComponent);
  auto* mesh = host::FieldAt<host::USceneComponent*>(creature, game.Mesh);
  return root != nullptr && mesh != nullptr &&
         Exactly(host::FieldAt<host::FVector>(root, game.RelativeScale3D), scale) &&
         Exactly(host::FieldAt<host::FVector>(creature, game.BaseDinoScale), scale) &&
         Exactly(host::FieldAt<host::FVector>(mesh, game.RelativeScale3D), scale) &&
         CameraHeldAt(creature, cameraScale, cameraLines);
}

bool Apply(host::APrimalDinoCharacter* creature, const CreatureVerdict& verdict, const char* label,
           ApplyMode mode) {
  if (creature == nullptr || !verdict.Qualifies()) return false;
  const GameHandles& game = GameHandleTable();
  if (host::IsFlagSetIn(creature, game.bIsDead)) return false;
  if (host::IsFlagSetIn(creature, game.bActorIsBeingDestroyed)) return false;
  const double scale = verdict.Scale();
  const double camera_scale = verdict.CameraScale();
  const bool debug = DebugLogSetting();

  if (mode == ApplyMode::kUnlessAtScale) {
    auto* root = host::FieldAt<host::USceneComponent*>(creature, game.RootComponent);
    if (root != nullptr && AtScale(host::FieldAt<host::FVector>(root, game.RelativeScale3D), scale))
      return false;
  }
  if (mode == ApplyMode::kUnlessHeld && !debug && HoldsScale(creature, game, scale, camera_scale))
    return true;
  // Taken before anything is written: this creature's lines are all written or all held back.
  const DetailLines lines = TakeDetailLines();
  // Written again only for its lines: held back, they are counted as if written.
  std::size_t camera_lines = 0;
  if (mode == ApplyMode::kUnlessHeld && lines == DetailLines::kHoldBack &&
      HoldsScale(creature, game, scale, camera_scale, &camera_lines)) {
    CountHeldBackLines(1 + camera_lines);
    return true;
  }

  // Recorded before the first write, so that a creature left part-way is still put back.
  const bool reduced = scale != 1.0 || camera_scale != 1.0;
  if (reduced) RecordShrunk(creature);
  const host::FVector uniform{scale, scale, scale};
  game.SetActorRelativeScale3D(reinterpret_cast<host::AActor*>(creature), uniform);
  host::FieldAt<host::FVector>(creature, game.BaseDinoScale) = uniform;
  if (auto* mesh = host::FieldAt<host::USceneComponent*>(creature, game.Mesh))
    host::FieldAt<host::FVector>(mesh, game.RelativeScale3D) = uniform;
  ScaleRiderCameraAlreadyRecorded(creature, camera_scale, lines);
  // Brought to full size: an older record of it as shrunk no longer holds.
  if (!reduced) MarkRestored(creature);

  if (lines == DetailLines::kWrite)
    LogInfo(fmt::format("[Tinyhorde] Resized {} to Rex scale {:.4f} (Cam: {:.4f}, Context: {})",
                        verdict.class_verdict.display_name, scale, camera_scale,
                        label != nullptr ? label : ""));
  else if (lines == DetailLines::kHoldBack)
    CountHeldBackLines(1);
  return true;
}

}  // namespace

bool ApplyCreatureScale(host::APrimalDinoCharacter* creature, const char* label, ApplyMode mode) {
  if (creature == nullptr || !ShrinkingAllowed()) return false;
  return Apply(creature, JudgeCreature(creature), label, mode);
}

bool ApplyCreatureScale(host::APrimalDinoCharacter* creature, const CreatureVerdict& verdict,
                        const char* label, ApplyMode mode) {
  return Apply(creature, verdict, label, mode);
}

}  // namespace tinyhorde
