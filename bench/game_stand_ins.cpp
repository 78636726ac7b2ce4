#include "game_stand_ins.h"

#include <stdexcept>
#include <string>
#include <vector>

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

struct StandIn {
  Hook hook;
  void* function;
};

// A stand-in for hook H: one of another signature than the game's function does not compile.
template <Hook H>
StandIn For(HookSignature<H> function) {
  return {H, reinterpret_cast<void*>(function)};
}

const std::vector<StandIn>& StandIns() {
  static const std::vector<StandIn> stand_ins = {
      For<Hook::BeginPlay>(&Dino),
      For<Hook::OnUncryo>(&DinoWithController),
      For<Hook::OnCryo>(&DinoWithController),
      For<Hook::MultiOnCryo>(&DinoWithController),
      For<Hook::GiveCryoItemAndCaptureDino>(&ControllerWithDino),
      For<Hook::GetCryoDinoData>(&CryoDinoData),
      For<Hook::SetRider>(&SetRider),
      For<Hook::DinoCameraArmLength>(&DinoArmLength),
      For<Hook::CharacterCameraArmLength>(&CharacterArmLength),
      For<Hook::CharacterCameraArmLengthSimple>(&CharacterArmLengthSimple),
      For<Hook::CanCryo>(&CanCryo),
      For<Hook::Unstasis>(&Dino),
      For<Hook::TakeDamage>(&TakeDamage),
      For<Hook::Serialize>(&Serialize),
      For<Hook::Destroy>(&Destroy),
      For<Hook::Destroyed>(&Dino),
      For<Hook::ServerUploadDino>(&ControllerWithDino),
      For<Hook::ServerUploadCharacter>(&DinoWithController),
      For<Hook::ExportDinoData>(&ControllerWithDino),
      For<Hook::CharacterCaptureSnapshot>(&CharacterWithItem),
      For<Hook::DinoCaptureSnapshot>(&DinoWithItem),
      For<Hook::TameDino>(&TameDino),
      For<Hook::TargetingTeamChanged>(&Dino),
      For<Hook::SaveWorld>(&SaveWorld),
      For<Hook::DinoTakeDamage>(&DinoTakeDamage),
  };
  return stand_ins;
}

// Where the host writes the game's function behind each stand-in; never called.
void* slots[static_cast<int>(Hook::Count)];

}  // namespace

void* GameStandIn(sim::Hook hook) {
  for (const StandIn& stand_in : StandIns())
    if (stand_in.hook == hook) return stand_in.function;
  return nullptr;
}

void InstallGameStandIns(sim::Server& server) {
  for (int i = 0; i < static_cast<int>(Hook::Count); ++i) {
    const Hook hook = static_cast<Hook>(i);
    const char* name = HookName(hook);
    void* const stand_in = GameStandIn(hook);
    if (stand_in == nullptr) throw std::runtime_error(std::string("no stand-in for ") + name);
    if (!server.Hooks().Install(name, stand_in, &slots[i]))
      throw std::runtime_error(std::string("the host refused a stand-in for ") + name);
  }
}

}  // namespace bench
