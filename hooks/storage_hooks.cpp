// Detours that put a target creature back to scale 1.0 before the game stores, copies, captures
// or destroys it, so that cryopods, uploads, exports, snapshots and saves never hold a reduced
// size. Each hands the game's result back unchanged.
#include <cstdint>

#include "config/plugin_settings.h"
#include "hooks/detours.h"
#include "host/game.h"
#include "plugin/contained.h"
#include "plugin/game_handles.h"
#include "scaling/post_save_resize.h"
#include "scaling/rider_camera.h"
#include "scaling/scale_restoration.h"
#include "scaling/shrink_gate.h"
#include "scaling/shrunk_record.h"
#include "selection/creature_classification.h"
#include "selection/tamed_state.h"

namespace tinyhorde::detours {

namespace {

// Capture tools and projectiles, matched in the damage causer's lowered class name (worked out
// once per class with the rest of its verdict).
bool IsCaptureCauser(const AActor* causer) {
  return ClassifyCreature(causer).capture_causer;
}

// The saving flag: bit value 4 of the flag byte right after the archive's virtual-table pointer.
bool IsSaving(const FArchive* archive) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(archive);
  return (bytes[sizeof(void*)] & 4u) != 0;
}

}  // namespace

void* OnCryoSlot = nullptr;
void OnCryo(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  Contained("OnCryo", [&] { RestoreBeforeStorage(self); });
  Original<DinoWithControllerFn>(OnCryoSlot)(self, controller);
}

void* MultiOnCryoSlot = nullptr;
void MultiOnCryo(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  Contained("MultiOnCryo", [&] { RestoreBeforeStorage(self); });
  Original<DinoWithControllerFn>(MultiOnCryoSlot)(self, controller);
}

void* GiveCryoItemAndCaptureDinoSlot = nullptr;
void GiveCryoItemAndCaptureDino(AShooterPlayerController* self, APrimalDinoCharacter* dino) {
  Contained("GiveCryoItemAndCaptureDino", [&] { RestoreBeforeStorage(dino); });
  Original<ControllerWithDinoFn>(GiveCryoItemAndCaptureDinoSlot)(self, dino);
}

void* GetCryoDinoDataSlot = nullptr;
FCustomItemData* GetCryoDinoData(FCustomItemData* result, UObject* worldContext,
                                 APrimalDinoCharacter* dino) {
  Contained("GetCryoDinoData", [&] { RestoreBeforeStorage(dino); });
  return Original<GetCryoDinoDataFn>(GetCryoDinoDataSlot)(result, worldContext, dino);
}

void* CanCryoSlot = nullptr;
bool CanCryo(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  const bool answer = Original<DinoCanCryoFn>(CanCryoSlot)(self, controller);
  if (answer) Contained("CanCryo", [&] { RestoreBeforeStorage(self); });
  return answer;
}

void* TakeDamageSlot = nullptr;
float TakeDamage(APrimalCharacter* self, float amount, FDamageEvent* event, AController* instigator,
                 AActor* causer) {
  Contained("TakeDamage", [&] {
    // The causer's name is built only for a creature with a causer that is recorded as shrunk
    // or a target.
    if (self == nullptr || causer == nullptr) return;
    if (!IsRecordedShrunk(self) && !IsTargetCreature(self)) return;
    if (IsCaptureCauser(causer)) RestoreBeforeStorage(self);
  });
  return Original<CharacterTakeDamageFn>(TakeDamageSlot)(self, amount, event, instigator, causer);
}

void* SerializeSlot = nullptr;
void Serialize(APrimalCharacter* self, FArchive* archive) {
  // Loading and other archives cost one bit test.
  if (self == nullptr || archive == nullptr || !IsSaving(archive)) {
    Original<CharacterSerializeFn>(SerializeSlot)(self, archive);
    return;
  }
  auto* creature = reinterpret_cast<APrimalDinoCharacter*>(self);
  bool restored = false;
  bool target = false;
  Contained("Serialize", [&] {
    // A creature the plugin shrank is saved at full size whatever the settings say now; a
    // qualifying target is put back too. A wild creature the plugin never touched is saved as
    // it is.
    target = IsTargetCreature(self);
    if (IsRecordedShrunk(creature)) {
      RestoreCreatureScale(creature);
      restored = true;
    } else if (target && (!ReadOnlyTamed() || IsTamedCreature(creature))) {
      RestoreCreatureScale(creature);
      restored = true;
    }
  });
  Original<CharacterSerializeFn>(SerializeSlot)(self, archive);
  if (!restored) return;
  Contained("Serialize", [&] {
    // Shrunk again only while it still qualifies under the settings in force.
    if (!ShrinkingAllowed() || !target) return;
    if (ReadOnlyTamed() && !IsTamedCreature(creature)) return;
    if (host::IsFlagSetIn(self, Game().bActorIsBeingDestroyed)) return;
    if (host::IsFlagSetIn(self, Game().bIsDead)) return;
    QueuePostSaveResize(creature);
  });
}

void* DestroySlot = nullptr;
bool Destroy(APrimalDinoCharacter* self, bool netForce, bool shouldModifyLevel) {
  Contained("Destroy", [&] { RestoreBeforeStorage(self); });
  return Original<DinoDestroyFn>(DestroySlot)(self, netForce, shouldModifyLevel);
}

void* DestroyedSlot = nullptr;
void Destroyed(APrimalDinoCharacter* self) {
  Contained("Destroyed", [&] {
    RestoreBeforeStorage(self);
    // The creature is gone after this: a creature made later at its address starts afresh.
    ForgetCreatureCamera(self);
    ForgetShrunk(self);
  });
  Original<DinoFn>(DestroyedSlot)(self);
}

void* ServerUploadDinoSlot = nullptr;
void ServerUploadDino(AShooterPlayerController* self, APrimalDinoCharacter* dino) {
  Contained("ServerUploadDino", [&] { RestoreBeforeStorage(dino); });
  Original<ControllerWithDinoFn>(ServerUploadDinoSlot)(self, dino);
}

void* ServerUploadCharacterSlot = nullptr;
void ServerUploadCharacter(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  Contained("ServerUploadCharacter", [&] { RestoreBeforeStorage(self); });
  Original<DinoWithControllerFn>(ServerUploadCharacterSlot)(self, controller);
}

void* ExportDinoDataSlot = nullptr;
void ExportDinoData(AShooterPlayerController* self, APrimalDinoCharacter* dino) {
  Contained("ExportDinoData", [&] { RestoreBeforeStorage(dino); });
  Original<ControllerWithDinoFn>(ExportDinoDataSlot)(self, dino);
}

void* CharacterCaptureSnapshotSlot = nullptr;
void CharacterCaptureSnapshot(APrimalCharacter* self, UPrimalItem* item) {
  Contained("CharacterCaptureSnapshot", [&] { RestoreBeforeStorage(self); });
  Original<CharacterItemFn>(CharacterCaptureSnapshotSlot)(self, item);
}

void* DinoCaptureSnapshotSlot = nullptr;
void DinoCaptureSnapshot(APrimalDinoCharacter* self, UPrimalItem* item) {
  Contained("DinoCaptureSnapshot", [&] { RestoreBeforeStorage(self); });
  Original<DinoItemFn>(DinoCaptureSnapshotSlot)(self, item);
}

}  // namespace tinyhorde::detours
