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
  namespace names = host::game_names;
  static const std::vector<HookRow> table = {
      {names::kBeginPlay, Address(&BeginPlay), &BeginPlaySlot, false},
      {names::kOnUncryo, Address(&OnUncryo), &OnUncryoSlot, false},
      {names::kOnCryo, Address(&OnCryo), &OnCryoSlot, true},
      {names::kMultiOnCryo, Address(&MultiOnCryo), &MultiOnCryoSlot, true},
      {names::kGiveCryoItemAndCaptureDino, Address(&GiveCryoItemAndCaptureDino),
       &GiveCryoItemAndCaptureDinoSlot, true},
      {names::kGetCryoDinoData, Address(&GetCryoDinoData), &GetCryoDinoDataSlot, true},
      {names::kSetRider, Address(&SetRider), &SetRiderSlot, false},
      {names::kDinoCameraArmLength, Address(&DinoCameraArmLength), &DinoCameraArmLengthSlot, false},
      {names::kCharacterCameraArmLength, Address(&CharacterCameraArmLength),
       &CharacterCameraArmLengthSlot, false},
      {names::kCharacterCameraArmLengthSimple, Address(&CharacterCameraArmLengthSimple),
       &CharacterCameraArmLengthSimpleSlot, false},
      {names::kCanCryo, Address(&CanCryo), &CanCryoSlot, true},
      {names::kUnstasis, Address(&Unstasis), &UnstasisSlot, false},
      {names::kTakeDamage, Address(&TakeDamage), &TakeDamageSlot, true},
      {names::kSerialize, Address(&Serialize), &SerializeSlot, true},
      {names::kDestroy, Address(&Destroy), &DestroySlot, true},
      {names::kDestroyed, Address(&Destroyed), &DestroyedSlot, true},
      {names::kServerUploadDino, Address(&ServerUploadDino), &ServerUploadDinoSlot, true},
      {names::kServerUploadCharacter, Address(&ServerUploadCharacter), &ServerUploadCharacterSlot,
       true},
      {names::kExportDinoData, Address(&ExportDinoData), &ExportDinoDataSlot, true},
      {names::kCharacterCaptureSnapshot, Address(&CharacterCaptureSnapshot),
       &CharacterCaptureSnapshotSlot, true},
      {names::kDinoCaptureSnapshot, Address(&DinoCaptureSnapshot), &DinoCaptureSnapshotSlot, true},
      {names::kTameDino, Address(&TameDino), &TameDinoSlot, false},
      {names::kTargetingTeamChanged, Address(&TargetingTeamChanged), &TargetingTeamChangedSlot,
       false},
      {names::kSaveWorld, Address(&SaveWorld), &SaveWorldSlot, true},
      {names::kDinoTakeDamage, Address(&DinoTakeDamage), &DinoTakeDamageSlot, true},
  };
  return table;
}

std::vector<std::string> InstallHooks() {
  std::vector<std::string> refused;
  for (const auto& row : HookTable())
    if (!host::InstallHook(row.name, row.detour, row.slot)) refused.emplace_back(row.name.name);
  return refused;
}

void RemoveHooks() {
  for (const auto& row : HookTable()) host::RemoveHook(row.name, row.detour);
}

}  // namespace tinyhorde
