// Detours that put a target creature back to scale 1.0 before the game stores, copies, captures
// or destroys it, so that cryopods, uploads, exports, snapshots and saves never hold a reduced
// size. Each hands the game's result back unchanged.
#include <cstdint>
#include <string>

#include "config/plugin_settings.h"
#include "hooks/detours.h"
#include "host/game.h"
#include "scaling/delayed_resize.h"
#include "scaling/rider_camera.h"
#include "scaling/scale_restoration.h"
#include "selection/class_name.h"
#include "selection/creature_classification.h"
#include "selection/tamed_state.h"

namespace tinyhorde::detours {

namespace {

// The restore test: a target creature.
void RestoreIfTarget(const void* creature) {
  if (creature != nullptr && IsTargetCreature(creature))
    RestoreNormalScale(static_cast<APrimalDinoCharacter*>(const_cast<void*>(creature)));
}

// Capture tools and projectiles, matched in the damage causer's lowered class name.
bool IsCaptureCauser(const AActor* causer) {
  const std::string name = GetCreatureClassName(causer).value_or(std::string());
  for (const char* keyword : {"cryo", "ball", "gun", "pelayori", "trap", "capture"})
    if (name.find(keyword) != std::string::npos) return true;
  return false;
}

// The saving flag: bit value 4 of the flag byte right after the archive's virtual-table pointer.
bool IsSaving(const FArchive* archive) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(archive);
  return (bytes[sizeof(void*)] & 4u) != 0;
}

// Whether a creature's actor scale, BaseDinoScale or camera is off full size: a creature shrunk
// while the settings handled it, which they no longer do (OnlyTamed switched on after it was
// shrunk or mounted wild).
bool HoldsReducedScale(APrimalDinoCharacter* creature) {
  if (CameraIsScaled(creature)) return true;
  try {
    const auto off = [](const host::FVector& v) { return v.X != 1.0 || v.Y != 1.0 || v.Z != 1.0; };
    if (off(host::Field<host::FVector>(creature, "APrimalDinoCharacter.BaseDinoScale")))
      return true;
    auto* root = host::Field<host::USceneComponent*>(creature, "AActor.RootComponent");
    return root != nullptr &&
           off(host::Field<host::FVector>(root, "USceneComponent.RelativeScale3D"));
  } catch (...) {
    return false;
  }
}

}  // namespace

void* OnCryoSlot = nullptr;
void OnCryo(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  RestoreIfTarget(self);
  Original<DinoWithControllerFn>(OnCryoSlot)(self, controller);
}

void* MultiOnCryoSlot = nullptr;
void MultiOnCryo(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  RestoreIfTarget(self);
  Original<DinoWithControllerFn>(MultiOnCryoSlot)(self, controller);
}

void* GiveCryoItemAndCaptureDinoSlot = nullptr;
void GiveCryoItemAndCaptureDino(AShooterPlayerController* self, APrimalDinoCharacter* dino) {
  RestoreIfTarget(dino);
  Original<ControllerWithDinoFn>(GiveCryoItemAndCaptureDinoSlot)(self, dino);
}

void* GetCryoDinoDataSlot = nullptr;
FCustomItemData* GetCryoDinoData(FCustomItemData* result, UObject* worldContext,
                                 APrimalDinoCharacter* dino) {
  RestoreIfTarget(dino);
  return Original<GetCryoDinoDataFn>(GetCryoDinoDataSlot)(result, worldContext, dino);
}

void* CanCryoSlot = nullptr;
bool CanCryo(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  const bool answer = Original<DinoCanCryoFn>(CanCryoSlot)(self, controller);
  if (answer) RestoreIfTarget(self);
  return answer;
}

void* TakeDamageSlot = nullptr;
float TakeDamage(APrimalCharacter* self, float amount, FDamageEvent* event, AController* instigator,
                 AActor* causer) {
  // The causer's name is built only for target creatures with a causer.
  if (self != nullptr && causer != nullptr && IsTargetCreature(self) && IsCaptureCauser(causer))
    RestoreNormalScale(reinterpret_cast<APrimalDinoCharacter*>(self));
  return Original<CharacterTakeDamageFn>(TakeDamageSlot)(self, amount, event, instigator, causer);
}

void* SerializeSlot = nullptr;
void Serialize(APrimalCharacter* self, FArchive* archive) {
  auto* creature = reinterpret_cast<APrimalDinoCharacter*>(self);
  // Loading and other archives cost one bit test.
  if (self == nullptr || archive == nullptr || !IsSaving(archive) || !IsTargetCreature(self)) {
    Original<CharacterSerializeFn>(SerializeSlot)(self, archive);
    return;
  }
  if (ReadOnlyTamed() && !IsTamedCreature(creature)) {
    // A wild creature is saved as it is, but never small: one shrunk before OnlyTamed was switched
    // on is put back first (and not shrunk again afterwards).
    if (HoldsReducedScale(creature)) RestoreNormalScale(creature);
    Original<CharacterSerializeFn>(SerializeSlot)(self, archive);
    return;
  }
  RestoreNormalScale(creature);
  Original<CharacterSerializeFn>(SerializeSlot)(self, archive);
  try {
    if (host::ReadFlag(self, "AActor.bActorIsBeingDestroyed")) return;
    if (host::ReadFlag(self, "APrimalCharacter.bIsDead")) return;
    ScheduleDelayedResize(creature, "Post-SaveWorld", 1);
  } catch (...) {
  }
}

void* DestroySlot = nullptr;
bool Destroy(APrimalDinoCharacter* self, bool netForce, bool shouldModifyLevel) {
  RestoreIfTarget(self);
  return Original<DinoDestroyFn>(DestroySlot)(self, netForce, shouldModifyLevel);
}

void* DestroyedSlot = nullptr;
void Destroyed(APrimalDinoCharacter* self) {
  RestoreIfTarget(self);
  // The creature is gone after this: a creature made later at its address starts afresh.
  ForgetCreatureCamera(self);
  Original<DinoFn>(DestroyedSlot)(self);
}

void* ServerUploadDinoSlot = nullptr;
void ServerUploadDino(AShooterPlayerController* self, APrimalDinoCharacter* dino) {
  RestoreIfTarget(dino);
  Original<ControllerWithDinoFn>(ServerUploadDinoSlot)(self, dino);
}

void* ServerUploadCharacterSlot = nullptr;
void ServerUploadCharacter(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  RestoreIfTarget(self);
  Original<DinoWithControllerFn>(ServerUploadCharacterSlot)(self, controller);
}

void* ExportDinoDataSlot = nullptr;
void ExportDinoData(AShooterPlayerController* self, APrimalDinoCharacter* dino) {
  RestoreIfTarget(dino);
  Original<ControllerWithDinoFn>(ExportDinoDataSlot)(self, dino);
}

void* CharacterCaptureSnapshotSlot = nullptr;
void CharacterCaptureSnapshot(APrimalCharacter* self, UPrimalItem* item) {
  RestoreIfTarget(self);
  Original<CharacterItemFn>(CharacterCaptureSnapshotSlot)(self, item);
}

void* DinoCaptureSnapshotSlot = nullptr;
void DinoCaptureSnapshot(APrimalDinoCharacter* self, UPrimalItem* item) {
  RestoreIfTarget(self);
  Original<DinoItemFn>(DinoCaptureSnapshotSlot)(self, item);
}

}  // namespace tinyhorde::detours
