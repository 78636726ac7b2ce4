// Detours on the game's camera arm length: the length the game computes is multiplied by the
// camera scale of a qualifying target creature, or of the target creature a character rides.
// They never change the camera offsets and keep nothing.
#include "config/plugin_settings.h"
#include "hooks/detours.h"
#include "host/game.h"
#include "plugin/contained.h"
#include "scaling/shrink_gate.h"
#include "selection/class_name.h"
#include "selection/creature_classification.h"
#include "selection/tamed_state.h"

namespace tinyhorde::detours {

namespace {

// A target creature that passes the tamed gate.
bool Qualifies(const void* creature) {
  if (creature == nullptr || !IsTargetCreature(creature)) return false;
  return !ReadOnlyTamed() ||
         IsTamedCreature(static_cast<APrimalDinoCharacter*>(const_cast<void*>(creature)));
}

float Scaled(const void* subject, float length) {
  double scale = 0.5;
  double camera_scale = 0.5;
  if (!LookupCreatureScale(subject, scale, camera_scale)) return length;
  return static_cast<float>(camera_scale) * length;
}

// The game's player character class, resolved on first use and kept from then on.
host::UClass* PlayerCharacterClass() {
  static host::UClass* const cls =
      host::CallGame<host::UClass*>("AShooterCharacter.GetPrivateStaticClass()");
  return cls;
}

// Whether the character is a player character: the game's GetRidingDino may be asked of nothing
// else (on any other object it reads memory that is not there).
bool IsPlayerCharacter(const APrimalCharacter* character) {
  host::UClass* cls = ClassOf(character);
  host::UClass* player = PlayerCharacterClass();
  if (cls == nullptr || player == nullptr) return false;
  return host::CallGame<bool, const host::UStruct*, const host::UStruct*>(
      "UStruct.IsChildOf(UStruct*)", reinterpret_cast<const host::UStruct*>(cls),
      reinterpret_cast<const host::UStruct*>(player));
}

// The character itself when it qualifies, otherwise the target creature it rides, when it is a
// player.
float ScaledForCharacter(APrimalCharacter* character, float length) {
  if (character == nullptr || !ShrinkingAllowed()) return length;
  if (Qualifies(character)) return Scaled(character, length);
  if (!IsPlayerCharacter(character)) return length;
  auto* ridden = host::CallGame<APrimalDinoCharacter*>(
      "AShooterCharacter.GetRidingDino()", reinterpret_cast<AShooterCharacter*>(character));
  if (!Qualifies(ridden)) return length;
  return Scaled(ridden, length);
}

}  // namespace

void* DinoCameraArmLengthSlot = nullptr;
float DinoCameraArmLength(APrimalDinoCharacter* self, FPrimalCameraParams* params, float a,
                          float b) {
  const float length = Original<DinoCameraArmLengthFn>(DinoCameraArmLengthSlot)(self, params, a, b);
  float result = length;
  Contained("GetPrimalCameraDesiredArmLength", [&] {
    if (ShrinkingAllowed() && Qualifies(self)) result = Scaled(self, length);
  });
  return result;
}

void* CharacterCameraArmLengthSlot = nullptr;
float CharacterCameraArmLength(APrimalCharacter* self, FPrimalCameraParams* params, float a,
                               float b) {
  const float length =
      Original<CharacterCameraArmLengthFn>(CharacterCameraArmLengthSlot)(self, params, a, b);
  float result = length;
  Contained("GetPrimalCameraDesiredArmLength", [&] { result = ScaledForCharacter(self, length); });
  return result;
}

void* CharacterCameraArmLengthSimpleSlot = nullptr;
float CharacterCameraArmLengthSimple(APrimalCharacter* self, float a, float b) {
  const float length =
      Original<CharacterCameraArmLengthSimpleFn>(CharacterCameraArmLengthSimpleSlot)(self, a, b);
  float result = length;
  Contained("GetPrimalCameraDesiredArmLength", [&] { result = ScaledForCharacter(self, length); });
  return result;
}

}  // namespace tinyhorde::detours
