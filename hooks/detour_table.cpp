#include "hooks/detour_table.h"

#include <array>
#include <cstring>

#include "hooks/detours.h"

namespace tinyhorde {

namespace {

// The row of the hook on the game function Name, with its own slot. Its detour must have the
// hook's signature: a detour of another type does not compile.
template <typename Signature, const host::GameName& Name>
DetourRow Row(Signature detour, bool guards_storage) {
  return {Name, reinterpret_cast<void*>(detour), &detours::DetourSlot<Name>, guards_storage};
}

constexpr bool kGuardsStorage = true;
constexpr bool kShrinks = false;

}  // namespace

std::span<const DetourRow> DetourTable() {
  using namespace detours;
  static const std::array rows = {
      Row<DinoFn, names::kBeginPlay>(&BeginPlay, kShrinks),
      Row<DinoWithControllerFn, names::kOnUncryo>(&OnUncryo, kShrinks),
      Row<DinoWithControllerFn, names::kOnCryo>(&OnCryo, kGuardsStorage),
      Row<DinoWithControllerFn, names::kMultiOnCryo>(&MultiOnCryo, kGuardsStorage),
      Row<ControllerWithDinoFn, names::kGiveCryoItemAndCaptureDino>(&GiveCryoItemAndCaptureDino,
                                                                    kGuardsStorage),
      Row<GetCryoDinoDataFn, names::kGetCryoDinoData>(&GetCryoDinoData, kGuardsStorage),
      Row<DinoSetRiderFn, names::kSetRider>(&SetRider, kShrinks),
      Row<DinoCameraArmLengthFn, names::kDinoCameraArmLength>(&DinoCameraArmLength, kShrinks),
      Row<CharacterCameraArmLengthFn, names::kCharacterCameraArmLength>(&CharacterCameraArmLength,
                                                                        kShrinks),
      Row<CharacterCameraArmLengthSimpleFn, names::kCharacterCameraArmLengthSimple>(
          &CharacterCameraArmLengthSimple, kShrinks),
      Row<DinoCanCryoFn, names::kCanCryo>(&CanCryo, kGuardsStorage),
      Row<DinoFn, names::kUnstasis>(&Unstasis, kShrinks),
      Row<CharacterTakeDamageFn, names::kTakeDamage>(&TakeDamage, kGuardsStorage),
      Row<CharacterSerializeFn, names::kSerialize>(&Serialize, kGuardsStorage),
      Row<DinoDestroyFn, names::kDestroy>(&Destroy, kGuardsStorage),
      Row<DinoFn, names::kDestroyed>(&Destroyed, kGuardsStorage),
      Row<ControllerWithDinoFn, names::kServerUploadDino>(&ServerUploadDino, kGuardsStorage),
      Row<DinoWithControllerFn, names::kServerUploadCharacter>(&ServerUploadCharacter,
                                                               kGuardsStorage),
      Row<ControllerWithDinoFn, names::kExportDinoData>(&ExportDinoData, kGuardsStorage),
      Row<CharacterItemFn, names::kCharacterCaptureSnapshot>(&CharacterCaptureSnapshot,
                                                             kGuardsStorage),
      Row<DinoItemFn, names::kDinoCaptureSnapshot>(&DinoCaptureSnapshot, kGuardsStorage),
      Row<DinoTameFn, names::kTameDino>(&TameDino, kShrinks),
      Row<DinoFn, names::kTargetingTeamChanged>(&TargetingTeamChanged, kShrinks),
      Row<SaveWorldFn, names::kSaveWorld>(&SaveWorld, kGuardsStorage),
      Row<DinoTakeDamageFn, names::kDinoTakeDamage>(&DinoTakeDamage, kGuardsStorage),
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
