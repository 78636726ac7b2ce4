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

namespace {

// Which rows of the table are installed now; game thread.
std::vector<bool> installed;

}  // namespace

HookInstallResult InstallHooks() {
  HookInstallResult result;
  const auto& table = HookTable();
  installed.assign(table.size(), false);
  const bool ask_unverified = host::HostSurvivesUnknownFunctions();
  for (std::size_t i = 0; i < table.size(); ++i) {
    const HookRow& row = table[i];
    const bool unverified = row.name.unverified_because != nullptr;
    if (unverified && !ask_unverified) {
      result.unverified_not_asked.emplace_back(row.name.name);
      continue;
    }
    installed[i] = host::InstallHook(row.name, row.detour, row.slot);
    if (!installed[i])
      (unverified ? result.unverified_refused : result.refused).emplace_back(row.name.name);
  }
  return result;
}

void RemoveHooks() {
  const auto& table = HookTable();
  for (std::size_t i = 0; i < table.size() && i < installed.size(); ++i)
    if (installed[i]) host::RemoveHook(table[i].name, table[i].detour);
  installed.clear();
}

}  // namespace tinyhorde
