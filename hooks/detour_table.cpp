#include "hooks/detour_table.h"

#include <array>
#include <cstring>

#include "hooks/detours.h"

namespace tinyhorde {

namespace {

// A row whose detour must have the hook's signature: a detour of another type does not compile.
template <typename Signature>
DetourRow Row(const host::GameName& name, Signature detour, void*& slot, bool guards_storage) {
  return {name, reinterpret_cast<void*>(detour), &slot, guards_storage};
}

constexpr bool kGuardsStorage = true;
constexpr bool kShrinks = false;

}  // namespace

std::span<const DetourRow> DetourTable() {
  using namespace detours;
  namespace names = host::game_names;
  static const std::array rows = {
      Row<DinoFn>(names::kBeginPlay, &BeginPlay, BeginPlaySlot, kShrinks),
      Row<DinoWithControllerFn>(names::kOnUncryo, &OnUncryo, OnUncryoSlot, kShrinks),
      Row<DinoWithControllerFn>(names::kOnCryo, &OnCryo, OnCryoSlot, kGuardsStorage),
      Row<DinoWithControllerFn>(names::kMultiOnCryo, &MultiOnCryo, MultiOnCryoSlot, kGuardsStorage),
      Row<ControllerWithDinoFn>(names::kGiveCryoItemAndCaptureDino, &GiveCryoItemAndCaptureDino,
                                GiveCryoItemAndCaptureDinoSlot, kGuardsStorage),
      Row<GetCryoDinoDataFn>(names::kGetCryoDinoData, &GetCryoDinoData, GetCryoDinoDataSlot,
                             kGuardsStorage),
      Row<DinoSetRiderFn>(names::kSetRider, &SetRider, SetRiderSlot, kShrinks),
      Row<DinoCameraArmLengthFn>(names::kDinoCameraArmLength, &DinoCameraArmLength,
                                 DinoCameraArmLengthSlot, kShrinks),
      Row<CharacterCameraArmLengthFn>(names::kCharacterCameraArmLength, &CharacterCameraArmLength,
                                      CharacterCameraArmLengthSlot, kShrinks),
      Row<CharacterCameraArmLengthSimpleFn>(names::kCharacterCameraArmLengthSimple,
                                            &CharacterCameraArmLengthSimple,
                                            CharacterCameraArmLengthSimpleSlot, kShrinks),
      Row<DinoCanCryoFn>(names::kCanCryo, &CanCryo, CanCryoSlot, kGuardsStorage),
      Row<DinoFn>(names::kUnstasis, &Unstasis, UnstasisSlot, kShrinks),
      Row<CharacterTakeDamageFn>(names::kTakeDamage, &TakeDamage, TakeDamageSlot, kGuardsStorage),
      Row<CharacterSerializeFn>(names::kSerialize, &Serialize, SerializeSlot, kGuardsStorage),
      Row<DinoDestroyFn>(names::kDestroy, &Destroy, DestroySlot, kGuardsStorage),
      Row<DinoFn>(names::kDestroyed, &Destroyed, DestroyedSlot, kGuardsStorage),
      Row<ControllerWithDinoFn>(names::kServerUploadDino, &ServerUploadDino, ServerUploadDinoSlot,
                                kGuardsStorage),
      Row<DinoWithControllerFn>(names::kServerUploadCharacter, &ServerUploadCharacter,
                                ServerUploadCharacterSlot, kGuardsStorage),
      Row<ControllerWithDinoFn>(names::kExportDinoData, &ExportDinoData, ExportDinoDataSlot,
                                kGuardsStorage),
      Row<CharacterItemFn>(names::kCharacterCaptureSnapshot, &CharacterCaptureSnapshot,
                           CharacterCaptureSnapshotSlot, kGuardsStorage),
      Row<DinoItemFn>(names::kDinoCaptureSnapshot, &DinoCaptureSnapshot, DinoCaptureSnapshotSlot,
                      kGuardsStorage),
      Row<DinoTameFn>(names::kTameDino, &TameDino, TameDinoSlot, kShrinks),
      Row<DinoFn>(names::kTargetingTeamChanged, &TargetingTeamChanged, TargetingTeamChangedSlot,
                  kShrinks),
      Row<SaveWorldFn>(names::kSaveWorld, &SaveWorld, SaveWorldSlot, kGuardsStorage),
      Row<DinoTakeDamageFn>(names::kDinoTakeDamage, &DinoTakeDamage, DinoTakeDamageSlot,
                            kGuardsStorage),
  };
  return rows;
}

const DetourRow* FindDetourRow(const char* name) {
  if (name == nullptr) return nullptr;
  for (const DetourRow& row : DetourTable())
    if (std::strcmp(row.name.name, name) == 0) return &row;
  return nullptr;
}

}  // namespace tinyhorde
