// Detours on entering play and changing hands. For now each only runs the game's own function
// through its slot; their work comes with the scaling engine.
#include "hooks/detours.h"

namespace tinyhorde::detours {

void* BeginPlaySlot = nullptr;
void BeginPlay(APrimalDinoCharacter* self) {
  Original<DinoFn>(BeginPlaySlot)(self);
}

void* OnUncryoSlot = nullptr;
void OnUncryo(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  Original<DinoWithControllerFn>(OnUncryoSlot)(self, controller);
}

void* UnstasisSlot = nullptr;
void Unstasis(APrimalDinoCharacter* self) {
  Original<DinoFn>(UnstasisSlot)(self);
}

void* TameDinoSlot = nullptr;
void TameDino(APrimalDinoCharacter* self, AShooterPlayerController* controller, bool ignoreMaxTameLimit, int overrideTamingTeam, bool preventNameDialog, bool skipAddingTamedLevels, bool suppressNotifications) {
  Original<DinoTameFn>(TameDinoSlot)(self, controller, ignoreMaxTameLimit, overrideTamingTeam, preventNameDialog, skipAddingTamedLevels, suppressNotifications);
}

void* TargetingTeamChangedSlot = nullptr;
void TargetingTeamChanged(APrimalDinoCharacter* self) {
  Original<DinoFn>(TargetingTeamChangedSlot)(self);
}

void* SetRiderSlot = nullptr;
void SetRider(APrimalDinoCharacter* self, AShooterCharacter* rider) {
  Original<DinoSetRiderFn>(SetRiderSlot)(self, rider);
}

}  // namespace tinyhorde::detours
