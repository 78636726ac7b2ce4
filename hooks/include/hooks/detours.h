// The plugin's detours and their call-through slots. Each slot is null until the host installs
// the hook; a detour reaches the game's own function only through its slot. Game thread.
#pragma once

#include "hooks/game_signatures.h"
#include "host/game_names.h"

namespace tinyhorde::detours {

namespace names = host::game_names;

// The call-through slot of the detour on the game function Name, one per hook: its detour calls
// through it and its row in the detour table (hooks/detour_table.h) hands it to the host.
template <const host::GameName& Name>
inline void* DetourSlot = nullptr;

// Entering play and changing hands.
void BeginPlay(APrimalDinoCharacter* self);
void OnUncryo(APrimalDinoCharacter* self, AShooterPlayerController* controller);
void Unstasis(APrimalDinoCharacter* self);
void TameDino(APrimalDinoCharacter* self, AShooterPlayerController* controller,
              bool ignoreMaxTameLimit, int overrideTamingTeam, bool preventNameDialog,
              bool skipAddingTamedLevels, bool suppressNotifications);
void TargetingTeamChanged(APrimalDinoCharacter* self);
void SetRider(APrimalDinoCharacter* self, AShooterCharacter* rider);

// Storage, capture and destruction.
void OnCryo(APrimalDinoCharacter* self, AShooterPlayerController* controller);
void MultiOnCryo(APrimalDinoCharacter* self, AShooterPlayerController* controller);
void GiveCryoItemAndCaptureDino(AShooterPlayerController* self, APrimalDinoCharacter* dino);
FCustomItemData* GetCryoDinoData(FCustomItemData* result, UObject* worldContext,
                                 APrimalDinoCharacter* dino);
bool CanCryo(APrimalDinoCharacter* self, AShooterPlayerController* controller);
float TakeDamage(APrimalCharacter* self, float amount, FDamageEvent* event, AController* instigator,
                 AActor* causer);
float DinoTakeDamage(APrimalDinoCharacter* self, float amount, FDamageEvent* event,
                     AController* instigator, AActor* causer);
void SaveWorld(AShooterGameMode* self, bool forceSynchronous, bool evenIfSaveLoadIsDisabled,
               bool saveAsBackup);
void Serialize(APrimalCharacter* self, FArchive* archive);
bool Destroy(APrimalDinoCharacter* self, bool netForce, bool shouldModifyLevel);
void Destroyed(APrimalDinoCharacter* self);
void ServerUploadDino(AShooterPlayerController* self, APrimalDinoCharacter* dino);
void ServerUploadCharacter(APrimalDinoCharacter* self, AShooterPlayerController* controller);
void ExportDinoData(AShooterPlayerController* self, APrimalDinoCharacter* dino);
void CharacterCaptureSnapshot(APrimalCharacter* self, UPrimalItem* item);
void DinoCaptureSnapshot(APrimalDinoCharacter* self, UPrimalItem* item);

// Camera arm length.
float DinoCameraArmLength(APrimalDinoCharacter* self, FPrimalCameraParams* params, float a,
                          float b);
float CharacterCameraArmLength(APrimalCharacter* self, FPrimalCameraParams* params, float a,
                               float b);
float CharacterCameraArmLengthSimple(APrimalCharacter* self, float a, float b);

}  // namespace tinyhorde::detours
