// The plugin's detours and their call-through slots. Each slot is null until the host installs
// the hook; a detour reaches the game's own function only through its slot.
#pragma once

#include "hooks/game_signatures.h"

namespace tinyhorde::detours {

// Entering play and changing hands.
extern void* BeginPlaySlot;
void BeginPlay(APrimalDinoCharacter* self);
extern void* OnUncryoSlot;
void OnUncryo(APrimalDinoCharacter* self, AShooterPlayerController* controller);
extern void* UnstasisSlot;
void Unstasis(APrimalDinoCharacter* self);
extern void* TameDinoSlot;
void TameDino(APrimalDinoCharacter* self, AShooterPlayerController* controller,
              bool ignoreMaxTameLimit, int overrideTamingTeam, bool preventNameDialog,
              bool skipAddingTamedLevels, bool suppressNotifications);
extern void* TargetingTeamChangedSlot;
void TargetingTeamChanged(APrimalDinoCharacter* self);
extern void* SetRiderSlot;
void SetRider(APrimalDinoCharacter* self, AShooterCharacter* rider);

// Storage, capture and destruction.
extern void* OnCryoSlot;
void OnCryo(APrimalDinoCharacter* self, AShooterPlayerController* controller);
extern void* MultiOnCryoSlot;
void MultiOnCryo(APrimalDinoCharacter* self, AShooterPlayerController* controller);
extern void* GiveCryoItemAndCaptureDinoSlot;
void GiveCryoItemAndCaptureDino(AShooterPlayerController* self, APrimalDinoCharacter* dino);
extern void* GetCryoDinoDataSlot;
FCustomItemData* GetCryoDinoData(FCustomItemData* result, UObject* worldContext,
                                 APrimalDinoCharacter* dino);
extern void* CanCryoSlot;
bool CanCryo(APrimalDinoCharacter* self, AShooterPlayerController* controller);
extern void* TakeDamageSlot;
float TakeDamage(APrimalCharacter* self, float amount, FDamageEvent* event, AController* instigator,
                 AActor* causer);
extern void* DinoTakeDamageSlot;
float DinoTakeDamage(APrimalDinoCharacter* self, float amount, FDamageEvent* event,
                     AController* instigator, AActor* causer);
extern void* SaveWorldSlot;
void SaveWorld(AShooterGameMode* self, bool forceSynchronous, bool evenIfSaveLoadIsDisabled,
               bool saveAsBackup);
extern void* SerializeSlot;
void Serialize(APrimalCharacter* self, FArchive* archive);
extern void* DestroySlot;
bool Destroy(APrimalDinoCharacter* self, bool netForce, bool shouldModifyLevel);
extern void* DestroyedSlot;
void Destroyed(APrimalDinoCharacter* self);
extern void* ServerUploadDinoSlot;
void ServerUploadDino(AShooterPlayerController* self, APrimalDinoCharacter* dino);
extern void* ServerUploadCharacterSlot;
void ServerUploadCharacter(APrimalDinoCharacter* self, AShooterPlayerController* controller);
extern void* ExportDinoDataSlot;
void ExportDinoData(AShooterPlayerController* self, APrimalDinoCharacter* dino);
extern void* CharacterCaptureSnapshotSlot;
void CharacterCaptureSnapshot(APrimalCharacter* self, UPrimalItem* item);
extern void* DinoCaptureSnapshotSlot;
void DinoCaptureSnapshot(APrimalDinoCharacter* self, UPrimalItem* item);

// Camera arm length.
extern void* DinoCameraArmLengthSlot;
float DinoCameraArmLength(APrimalDinoCharacter* self, FPrimalCameraParams* params, float a,
                          float b);
extern void* CharacterCameraArmLengthSlot;
float CharacterCameraArmLength(APrimalCharacter* self, FPrimalCameraParams* params, float a,
                               float b);
extern void* CharacterCameraArmLengthSimpleSlot;
float CharacterCameraArmLengthSimple(APrimalCharacter* self, float a, float b);

}  // namespace tinyhorde::detours
