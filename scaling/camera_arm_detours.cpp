// Detours on the camera arm length. For now each only runs the game's own function through its
// slot; their work comes with the rider camera scaling.
#include "hooks/detours.h"

namespace tinyhorde::detours {

void* DinoCameraArmLengthSlot = nullptr;
float DinoCameraArmLength(APrimalDinoCharacter* self, FPrimalCameraParams* params, float a, float b) {
  return Original<DinoCameraArmLengthFn>(DinoCameraArmLengthSlot)(self, params, a, b);
}

void* CharacterCameraArmLengthSlot = nullptr;
float CharacterCameraArmLength(APrimalCharacter* self, FPrimalCameraParams* params, float a, float b) {
  return Original<CharacterCameraArmLengthFn>(CharacterCameraArmLengthSlot)(self, params, a, b);
}

void* CharacterCameraArmLengthSimpleSlot = nullptr;
float CharacterCameraArmLengthSimple(APrimalCharacter* self, float a, float b) {
  return Original<CharacterCameraArmLengthSimpleFn>(CharacterCameraArmLengthSimpleSlot)(self, a, b);
}

}  // namespace tinyhorde::detours
