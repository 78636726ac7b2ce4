// The hooked game functions' signatures, as detours and call-through slots use them. A member
// function takes its object first. GetCryoDinoData returns its record by value, which every
// supported ABI does through a hidden result pointer passed first and handed back; the detour
// is declared in that form so that it hands the game's record back untouched without knowing
// its layout.
#pragma once

#include "host/types.h"

namespace tinyhorde {

using host::AActor;
using host::AController;
using host::APrimalCharacter;
using host::APrimalDinoCharacter;
using host::AShooterCharacter;
using host::AShooterGameMode;
using host::AShooterPlayerController;
using host::FArchive;
using host::FCustomItemData;
using host::FDamageEvent;
using host::FPrimalCameraParams;
using host::UObject;
using host::UPrimalItem;

using DinoFn = void (*)(APrimalDinoCharacter*);
using DinoWithControllerFn = void (*)(APrimalDinoCharacter*, AShooterPlayerController*);
using ControllerWithDinoFn = void (*)(AShooterPlayerController*, APrimalDinoCharacter*);
using GetCryoDinoDataFn = FCustomItemData* (*)(FCustomItemData* result, UObject*,
                                               APrimalDinoCharacter*);
using DinoSetRiderFn = void (*)(APrimalDinoCharacter*, AShooterCharacter*);
using DinoCameraArmLengthFn = float (*)(APrimalDinoCharacter*, FPrimalCameraParams*, float, float);
using CharacterCameraArmLengthFn = float (*)(APrimalCharacter*, FPrimalCameraParams*, float, float);
using CharacterCameraArmLengthSimpleFn = float (*)(APrimalCharacter*, float, float);
using DinoCanCryoFn = bool (*)(APrimalDinoCharacter*, AShooterPlayerController*);
using CharacterTakeDamageFn = float (*)(APrimalCharacter*, float, FDamageEvent*, AController*,
                                        AActor*);
using DinoTakeDamageFn = float (*)(APrimalDinoCharacter*, float, FDamageEvent*, AController*,
                                   AActor*);
using SaveWorldFn = void (*)(AShooterGameMode*, bool, bool, bool);
using CharacterSerializeFn = void (*)(APrimalCharacter*, FArchive*);
using DinoDestroyFn = bool (*)(APrimalDinoCharacter*, bool, bool);
using CharacterItemFn = void (*)(APrimalCharacter*, UPrimalItem*);
using DinoItemFn = void (*)(APrimalDinoCharacter*, UPrimalItem*);
using DinoTameFn = void (*)(APrimalDinoCharacter*, AShooterPlayerController*, bool, int, bool, bool,
                            bool);

// The game's own function behind a detour, from its call-through slot.
template <typename F>
F Original(void* slot) {
  return reinterpret_cast<F>(slot);
}

}  // namespace tinyhorde
