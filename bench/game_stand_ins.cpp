#include "game_stand_ins.h"

#include <stdexcept>
#include <string>

#include "sim/game_functions.h"

namespace bench {

namespace {

using namespace sim;

void Dino(APrimalDinoCharacter*) {}
void DinoWithController(APrimalDinoCharacter*, AShooterPlayerController*) {}
void ControllerWithDino(AShooterPlayerController*, APrimalDinoCharacter*) {}
FCustomItemData CryoDinoData(UObject*, APrimalDinoCharacter*) {
  return {};
}
void SetRider(APrimalDinoCharacter*, AShooterCharacter*) {}
float DinoArmLength(APrimalDinoCharacter* self, FPrimalCameraParams*, float, float) {
  return self->PrimalCharacter.CameraArmLength;
}
float CharacterArmLength(APrimalCharacter* self, FPrimalCameraParams*, float, float) {
  return self->CameraArmLength;
}
float CharacterArmLengthSimple(APrimalCharacter* self, float, float) {
  return self->CameraArmLength;
}
bool CanCryo(APrimalDinoCharacter*, AShooterPlayerController*) {
  return true;
}
float TakeDamage(APrimalCharacter*, float amount, FDamageEvent*, AController*, AActor*) {
  return amount;
}
float DinoTakeDamage(APrimalDinoCharacter*, float amount, FDamageEvent*, AController*, AActor*) {
  return amount;
}
void SaveWorld(AShooterGameMode*, bool, bool, bool) {}
void Serialize(APrimalCharacter*, FArchive*) {}
bool Destroy(APrimalDinoCharacter*, bool, bool) {
  return true;
}
void CharacterWithItem(APrimalCharacter*, UPrimalItem*) {}
void DinoWithItem(APrimalDinoCharacter*, UPrimalItem*) {}
void TameDino(APrimalDinoCharacter*, AShooterPlayerController*, bool, int, bool, bool, bool) {}

template <typename F>
void* Address(F function) {
  return reinterpret_cast<void*>(function);
}

// In the order of sim::Hook.
void* const kStandIns[] = {
    Address(&Dino),                      // BeginPlay
    Address(&DinoWithController),        // OnUncryo
    Address(&DinoWithController),        // OnCryo
    Address(&DinoWithController),        // MultiOnCryo
    Address(&ControllerWithDino),        // GiveCryoItemAndCaptureDino
    Address(&CryoDinoData),              // GetCryoDinoData
    Address(&SetRider),                  // SetRider
    Address(&DinoArmLength),             // DinoCameraArmLength
    Address(&CharacterArmLength),        // CharacterCameraArmLength
    Address(&CharacterArmLengthSimple),  // CharacterCameraArmLengthSimple
    Address(&CanCryo),                   // CanCryo
    Address(&Dino),                      // Unstasis
    Address(&TakeDamage),                // TakeDamage
    Address(&Serialize),                 // Serialize
    Address(&Destroy),                   // Destroy
    Address(&Dino),                      // Destroyed
    Address(&ControllerWithDino),        // ServerUploadDino
    Address(&DinoWithController),        // ServerUploadCharacter
    Address(&ControllerWithDino),        // ExportDinoData
    Address(&CharacterWithItem),         // CharacterCaptureSnapshot
    Address(&DinoWithItem),              // DinoCaptureSnapshot
    Address(&TameDino),                  // TameDino
    Address(&Dino),                      // TargetingTeamChanged
    Address(&SaveWorld),                 // SaveWorld
    Address(&DinoTakeDamage),            // DinoTakeDamage
};
static_assert(sizeof(kStandIns) / sizeof(kStandIns[0]) == static_cast<int>(Hook::Count));

// Where the host writes the game's function behind each stand-in; never called.
void* slots[static_cast<int>(Hook::Count)];

}  // namespace

void InstallGameStandIns(sim::Server& server) {
  for (int i = 0; i < static_cast<int>(Hook::Count); ++i) {
    const char* name = HookName(static_cast<Hook>(i));
    if (!server.Hooks().Install(name, kStandIns[i], &slots[i]))
      throw std::runtime_error(std::string("the host refused a stand-in for ") + name);
  }
}

}  // namespace bench
