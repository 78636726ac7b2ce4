// Detours on the game's camera arm length: the length the game computes is multiplied by the
// camera scale of a qualifying target creature, or of the target creature a character rides.
// They never change the camera offsets and keep nothing.
#include <optional>

#include "base/contained.h"
#include "base/game_handles.h"
#include "hooks/detours.h"
#include "host/game.h"
#include "scaling/creature_verdict.h"
#include "scaling/rider_camera.h"
#include "scaling/shrink_gate.h"
#include "selection/class_name.h"

namespace tinyhorde::detours {

namespace {

// The camera scale of a creature that qualifies now; nothing for anything else.
std::optional<double> CameraScaleOf(const void* creature) {
  if (!CameraScalingOn()) return std::nullopt;
  const CreatureVerdict verdict =
      JudgeCreature(static_cast<APrimalDinoCharacter*>(const_cast<void*>(creature)));
  if (!verdict.Qualifies()) return std::nullopt;
  return verdict.CameraScale();
}

float Scaled(double cameraScale, float length) {
  return static_cast<float>(cameraScale) * length;
}

// Whether the character is a player character: the game's GetRidingDino may be asked of nothing
// else (on any other object it reads memory that is not there).
bool IsPlayerCharacter(const APrimalCharacter* character) {
  host::UClass* cls = ClassOf(character);
  host::UClass* player = PlayerCharacterClassObject();
  if (cls == nullptr || player == nullptr) return false;
  return GameHandleTable().IsChildOf(reinterpret_cast<const host::UStruct*>(cls),
                                     reinterpret_cast<const host::UStruct*>(player));
}

// The character itself when it qualifies, otherwise the target creature it rides, when it is a
// player. While shrinking is off nothing qualifies: the ridden creature is not looked for.
float ScaledForCharacter(APrimalCharacter* character, float length) {
  if (character == nullptr || !ShrinkingAllowed() || !CameraScalingOn()) return length;
  if (const auto scale = CameraScaleOf(character)) return Scaled(*scale, length);
  if (!IsPlayerCharacter(character)) return length;
  auto* ridden = GameHandleTable().GetRidingDino(reinterpret_cast<AShooterCharacter*>(character));
  if (const auto scale = CameraScaleOf(ridden)) return Scaled(*scale, length);
  return length;
}

}  // namespace

float DinoCameraArmLength(APrimalDinoCharacter* self, FPrimalCameraParams* params, float a,
                          float b) {
  const float length =
      Original<DinoCameraArmLengthFn>(DetourSlot<names::kDinoCameraArmLength>)(self, params, a, b);
  float result = length;
  Contained("GetPrimalCameraDesiredArmLength", [&] {
    if (const auto scale = CameraScaleOf(self)) result = Scaled(*scale, length);
  });
  return result;
}

float CharacterCameraArmLength(APrimalCharacter* self, FPrimalCameraParams* params, float a,
                               float b) {
  const float length = Original<CharacterCameraArmLengthFn>(
      DetourSlot<names::kCharacterCameraArmLength>)(self, params, a, b);
  float result = length;
  Contained("GetPrimalCameraDesiredArmLength", [&] { result = ScaledForCharacter(self, length); });
  return result;
}

float CharacterCameraArmLengthSimple(APrimalCharacter* self, float a, float b) {
  const float length = Original<CharacterCameraArmLengthSimpleFn>(
      DetourSlot<names::kCharacterCameraArmLengthSimple>)(self, a, b);
  float result = length;
  Contained("GetPrimalCameraDesiredArmLength", [&] { result = ScaledForCharacter(self, length); });
  return result;
}

}  // namespace tinyhorde::detours
