// Detours on storage, capture and destruction. For now each only runs the game's own function
// through its slot; their work comes with the scaling engine.
#include "hooks/detours.h"

namespace tinyhorde::detours {

void* OnCryoSlot = nullptr;
void OnCryo(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  Original<DinoWithControllerFn>(OnCryoSlot)(self, controller);
}

void* MultiOnCryoSlot = nullptr;
void MultiOnCryo(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  Original<DinoWithControllerFn>(MultiOnCryoSlot)(self, controller);
}

void* GiveCryoItemAndCaptureDinoSlot = nullptr;
void GiveCryoItemAndCaptureDino(AShooterPlayerController* self, APrimalDinoCharacter* dino) {
  Original<ControllerWithDinoFn>(GiveCryoItemAndCaptureDinoSlot)(self, dino);
}

void* GetCryoDinoDataSlot = nullptr;
FCustomItemData* GetCryoDinoData(FCustomItemData* result, UObject* worldContext, APrimalDinoCharacter* dino) {
  return Original<GetCryoDinoDataFn>(GetCryoDinoDataSlot)(result, worldContext, dino);
}

void* CanCryoSlot = nullptr;
bool CanCryo(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  return Original<DinoCanCryoFn>(CanCryoSlot)(self, controller);
}

void* TakeDamageSlot = nullptr;
float TakeDamage(APrimalCharacter* self, float amount, FDamageEvent* event, AController* instigator, AActor* causer) {
  return Original<CharacterTakeDamageFn>(TakeDamageSlot)(self, amount, event, instigator, causer);
}

void* SerializeSlot = nullptr;
void Serialize(APrimalCharacter* self, FArchive* archive) {
  Original<CharacterSerializeFn>(SerializeSlot)(self, archive);
}

void* DestroySlot = nullptr;
bool Destroy(APrimalDinoCharacter* self, bool netForce, bool shouldModifyLevel) {
  return Original<DinoDestroyFn>(DestroySlot)(self, netForce, shouldModifyLevel);
}

void* DestroyedSlot = nullptr;
void Destroyed(APrimalDinoCharacter* self) {
  Original<DinoFn>(DestroyedSlot)(self);
}

void* ServerUploadDinoSlot = nullptr;
void ServerUploadDino(AShooterPlayerController* self, APrimalDinoCharacter* dino) {
  Original<ControllerWithDinoFn>(ServerUploadDinoSlot)(self, dino);
}

void* ServerUploadCharacterSlot = nullptr;
void ServerUploadCharacter(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  Original<DinoWithControllerFn>(ServerUploadCharacterSlot)(self, controller);
}

void* ExportDinoDataSlot = nullptr;
void ExportDinoData(AShooterPlayerController* self, APrimalDinoCharacter* dino) {
  Original<ControllerWithDinoFn>(ExportDinoDataSlot)(self, dino);
}

void* CharacterCaptureSnapshotSlot = nullptr;
void CharacterCaptureSnapshot(APrimalCharacter* self, UPrimalItem* item) {
  Original<CharacterItemFn>(CharacterCaptureSnapshotSlot)(self, item);
}

void* DinoCaptureSnapshotSlot = nullptr;
void DinoCaptureSnapshot(APrimalDinoCharacter* self, UPrimalItem* item) {
  Original<DinoItemFn>(DinoCaptureSnapshotSlot)(self, item);
}

}  // namespace tinyhorde::detours
