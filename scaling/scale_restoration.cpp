#include "scaling/scale_restoration.h"

#include <fmt/format.h>

#include "config/plugin_settings.h"
#include "host/game.h"
#include "plugin/logger.h"
#include "scaling/rider_camera.h"
#include "selection/class_name.h"
#include "selection/creature_classification.h"

namespace tinyhorde {

bool RestoreNormalScale(host::APrimalDinoCharacter* creature) {
  if (creature == nullptr || !IsTargetCreature(creature)) return false;
  const host::FVector normal{1.0, 1.0, 1.0};
  try {
    host::CallGame<void, host::AActor*, host::FVector>(
        "AActor.SetActorRelativeScale3D(UE::Math::TVector<double>)",
        reinterpret_cast<host::AActor*>(creature), normal);
  } catch (...) {
  }
  try {
    host::Field<host::FVector>(creature, "APrimalDinoCharacter.BaseDinoScale") = normal;
  } catch (...) {
  }
  try {
    if (auto* root = host::Field<host::USceneComponent*>(creature, "AActor.RootComponent"))
      host::Field<host::FVector>(root, "USceneComponent.RelativeScale3D") = normal;
  } catch (...) {
  }
  try {
    if (auto* mesh = host::Field<host::USceneComponent*>(creature, "ACharacter.Mesh"))
      host::Field<host::FVector>(mesh, "USceneComponent.RelativeScale3D") = normal;
  } catch (...) {
  }
  ScaleRiderCamera(creature, 1.0);
  if (ReadDebugLog() && HasLogger())
    LogInfo(fmt::format(
        "[Tinyhorde] Restored {} to normal scale 1.0 for vanilla cryopod/SCS/cloud storage/save",
        ClassNameText(creature)));
  return true;
}

}  // namespace tinyhorde
