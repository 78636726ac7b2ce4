#include "scaling/scale_application.h"

#include <cmath>

#include <fmt/format.h>

#include "config/plugin_settings.h"
#include "host/game.h"
#include "plugin/logger.h"
#include "scaling/rider_camera.h"
#include "scaling/shrink_gate.h"
#include "scaling/shrunk_record.h"
#include "selection/creature_classification.h"
#include "selection/tamed_state.h"

namespace tinyhorde {

namespace {

bool AtScale(const host::FVector& v, double s) {
  return std::fabs(v.X - s) < kAtScaleTolerance && std::fabs(v.Y - s) < kAtScaleTolerance &&
         std::fabs(v.Z - s) < kAtScaleTolerance;
}

}  // namespace

bool ApplyCreatureScale(host::APrimalDinoCharacter* creature, const char* label, bool force) {
  if (creature == nullptr || !ShrinkingAllowed()) return false;
  if (host::ReadFlag(creature, "APrimalCharacter.bIsDead")) return false;
  if (host::ReadFlag(creature, "AActor.bActorIsBeingDestroyed")) return false;
  const ClassVerdict verdict = ClassifyCreature(creature);
  if (!verdict.target) return false;
  if (ReadOnlyTamed() && !IsTamedCreature(creature)) return false;
  const double scale = verdict.scale;
  const double camera_scale = verdict.camera_scale;
  const bool debug = ReadDebugLog();

  if (!force) {
    auto* root = host::Field<host::USceneComponent*>(creature, "AActor.RootComponent");
    if (root != nullptr &&
        AtScale(host::Field<host::FVector>(root, "USceneComponent.RelativeScale3D"), scale))
      return false;
  }

  // Recorded before the first write, so that a creature left part-way is still put back.
  if (scale != 1.0 || camera_scale != 1.0) RecordShrunk(creature);
  const host::FVector uniform{scale, scale, scale};
  host::CallGame<void, host::AActor*, host::FVector>(
      "AActor.SetActorRelativeScale3D(UE::Math::TVector<double>)",
      reinterpret_cast<host::AActor*>(creature), uniform);
  try {
    host::Field<host::FVector>(creature, "APrimalDinoCharacter.BaseDinoScale") = uniform;
  } catch (...) {
  }
  try {
    if (auto* mesh = host::Field<host::USceneComponent*>(creature, "ACharacter.Mesh"))
      host::Field<host::FVector>(mesh, "USceneComponent.RelativeScale3D") = uniform;
  } catch (...) {
  }
  ScaleRiderCamera(creature, camera_scale);

  if (debug && HasLogger())
    LogInfo(fmt::format("[Tinyhorde] Resized {} to Rex scale {:.4f} (Cam: {:.4f}, Context: {})",
                        verdict.display_name, scale, camera_scale, label != nullptr ? label : ""));
  return true;
}

}  // namespace tinyhorde
