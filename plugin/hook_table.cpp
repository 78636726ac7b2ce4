#include "plugin/hook_table.h"

#include "hooks/detours.h"
#include "host/services.h"

namespace tinyhorde {

namespace {

template <typename F>
void* Address(F function) {
  return reinterpret_cast<void*>(function);
}

}  // namespace

const std::vector<HookRow>& HookTable() {
  using namespace detours;
  static const std::vector<HookRow> table = {
      {"APrimalDinoCharacter.BeginPlay()", Address(&BeginPlay), &BeginPlaySlot, false},
      {"APrimalDinoCharacter.OnUncryo(AShooterPlayerController*)", Address(&OnUncryo),
       &OnUncryoSlot, false},
      {"APrimalDinoCharacter.OnCryo(AShooterPlayerController*)", Address(&OnCryo), &OnCryoSlot,
       true},
      {"APrimalDinoCharacter.Multi_OnCryo_Implementation(AShooterPlayerController*)",
       Address(&MultiOnCryo), &MultiOnCryoSlot, true},
      {"AShooterPlayerController.GiveCryoItemAndCaptureDino(APrimalDinoCharacter*)",
       Address(&GiveCryoItemAndCaptureDino), &GiveCryoItemAndCaptureDinoSlot, true},
      {"UVictoryCore.GetCryoDinoData(UObject*,APrimalDinoCharacter*)", Address(&GetCryoDinoData),
       &GetCryoDinoDataSlot, true},
      {"APrimalDinoCharacter.SetRider(AShooterCharacter*)", Address(&SetRider), &SetRiderSlot,
       false},
      {"APrimalDinoCharacter.GetPrimalCameraDesiredArmLength(FPrimalCameraParams*,float,float)",
       Address(&DinoCameraArmLength), &DinoCameraArmLengthSlot, false},
      {"APrimalCharacter.GetPrimalCameraDesiredArmLength(FPrimalCameraParams*,float,float)",
       Address(&CharacterCameraArmLength), &CharacterCameraArmLengthSlot, false},
      {"APrimalCharacter.GetPrimalCameraDesiredArmLength(float,float)",
       Address(&CharacterCameraArmLengthSimple), &CharacterCameraArmLengthSimpleSlot, false},
      {"APrimalDinoCharacter.CanCryo(AShooterPlayerController*)", Address(&CanCryo), &CanCryoSlot,
       true},
      {"APrimalDinoCharacter.Unstasis()", Address(&Unstasis), &UnstasisSlot, false},
      {"APrimalCharacter.TakeDamage(float,FDamageEvent&,AController*,AActor*)",
       Address(&TakeDamage), &TakeDamageSlot, true},
      {"APrimalCharacter.Serialize(FArchive&)", Address(&Serialize), &SerializeSlot, true},
      {"APrimalDinoCharacter.Destroy(bool,bool)", Address(&Destroy), &DestroySlot, true},
      {"APrimalDinoCharacter.Destroyed()", Address(&Destroyed), &DestroyedSlot, true},
      {"AShooterPlayerController.ServerUploadDino_Implementation(APrimalDinoCharacter*)",
       Address(&ServerUploadDino), &ServerUploadDinoSlot, true},
      {"APrimalDinoCharacter.ServerUploadCharacter(AShooterPlayerController*)",
       Address(&ServerUploadCharacter), &ServerUploadCharacterSlot, true},
      {"AShooterPlayerController.ExportDinoData(APrimalDinoCharacter*)", Address(&ExportDinoData),
       &ExportDinoDataSlot, true},
      {"APrimalCharacter.CaptureCharacterSnapshot(UPrimalItem*)",
       Address(&CharacterCaptureSnapshot), &CharacterCaptureSnapshotSlot, true},
      {"APrimalDinoCharacter.CaptureCharacterSnapshot(UPrimalItem*)", Address(&DinoCaptureSnapshot),
       &DinoCaptureSnapshotSlot, true},
      {"APrimalDinoCharacter.TameDino(AShooterPlayerController*,bool,int,bool,bool,bool)",
       Address(&TameDino), &TameDinoSlot, false},
      {"APrimalDinoCharacter.TargetingTeamChanged()", Address(&TargetingTeamChanged),
       &TargetingTeamChangedSlot, false},
  };
  return table;
}

std::vector<std::string> InstallHooks() {
  std::vector<std::string> refused;
  for (const auto& row : HookTable())
    if (!host::InstallHook(row.name, row.detour, row.slot)) refused.emplace_back(row.name);
  return refused;
}

void RemoveHooks() {
  for (const auto& row : HookTable()) host::RemoveHook(row.name, row.detour);
}

}  // namespace tinyhorde
