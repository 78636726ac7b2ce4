// The game's hookable functions, one row each: the Hook value, the function's entry on the list of
// game names, its signature as the game calls it, and the game's own function behind it (defined
// in game_functions.cpp). Adding a hookable function is one row here and its body there.
//
// Everything else is made from the rows: the Hook enumeration, the names the hook table declares,
// the originals it starts with (each checked against its row's signature when it is compiled),
// and the typed calls through an entry (Game::Enter, Game::EntryOf).
#pragma once

#include "host/game_names.h"
#include "sim/game_types.h"

namespace sim {

using DinoFn = void (*)(APrimalDinoCharacter*);
using DinoWithControllerFn = void (*)(APrimalDinoCharacter*, AShooterPlayerController*);
using ControllerWithDinoFn = void (*)(AShooterPlayerController*, APrimalDinoCharacter*);
using GetCryoDinoDataFn = FCustomItemData (*)(UObject*, APrimalDinoCharacter*);
using DinoSetRiderFn = void (*)(APrimalDinoCharacter*, AShooterCharacter*);
using DinoCameraFn = float (*)(APrimalDinoCharacter*, FPrimalCameraParams*, float, float);
using CharacterCameraFn = float (*)(APrimalCharacter*, FPrimalCameraParams*, float, float);
using CharacterCameraSimpleFn = float (*)(APrimalCharacter*, float, float);
using DinoCanCryoFn = bool (*)(APrimalDinoCharacter*, AShooterPlayerController*);
using CharacterTakeDamageFn = float (*)(APrimalCharacter*, float, FDamageEvent*, AController*,
                                        AActor*);
using DinoTakeDamageFn = float (*)(APrimalDinoCharacter*, float, FDamageEvent*, AController*,
                                   AActor*);
using CharacterSerializeFn = void (*)(APrimalCharacter*, FArchive*);
using DinoDestroyFn = bool (*)(APrimalDinoCharacter*, bool, bool);
using CharacterItemFn = void (*)(APrimalCharacter*, UPrimalItem*);
using DinoItemFn = void (*)(APrimalDinoCharacter*, UPrimalItem*);
using SaveWorldFn = void (*)(AShooterGameMode*, bool, bool, bool);
using DinoTameFn = void (*)(APrimalDinoCharacter*, AShooterPlayerController*, bool, int, bool, bool,
                            bool);

// ROW(Hook value, entry in host::game_names, signature, the game's own function)
#define SIM_HOOKABLE_FUNCTIONS(ROW)                                                             \
  ROW(BeginPlay, kBeginPlay, DinoFn, DinoBeginPlay)                                             \
  ROW(OnUncryo, kOnUncryo, DinoWithControllerFn, DinoOnUncryo)                                  \
  ROW(OnCryo, kOnCryo, DinoWithControllerFn, DinoOnCryo)                                        \
  ROW(MultiOnCryo, kMultiOnCryo, DinoWithControllerFn, DinoMultiOnCryo)                         \
  ROW(GiveCryoItemAndCaptureDino, kGiveCryoItemAndCaptureDino, ControllerWithDinoFn,            \
      GiveCryoItemAndCaptureDino)                                                               \
  ROW(GetCryoDinoData, kGetCryoDinoData, GetCryoDinoDataFn, GetCryoDinoData)                    \
  ROW(SetRider, kSetRider, DinoSetRiderFn, DinoSetRider)                                        \
  ROW(DinoCameraArmLength, kDinoCameraArmLength, DinoCameraFn, DinoCameraArmLength)             \
  ROW(CharacterCameraArmLength, kCharacterCameraArmLength, CharacterCameraFn,                   \
      CharacterCameraArmLength)                                                                 \
  ROW(CharacterCameraArmLengthSimple, kCharacterCameraArmLengthSimple, CharacterCameraSimpleFn, \
      CharacterCameraArmLengthSimple)                                                           \
  ROW(CanCryo, kCanCryo, DinoCanCryoFn, DinoCanCryo)                                            \
  ROW(Unstasis, kUnstasis, DinoFn, DinoUnstasis)                                                \
  ROW(TakeDamage, kTakeDamage, CharacterTakeDamageFn, CharacterTakeDamage)                      \
  ROW(Serialize, kSerialize, CharacterSerializeFn, CharacterSerialize)                          \
  ROW(Destroy, kDestroy, DinoDestroyFn, DinoDestroy)                                            \
  ROW(Destroyed, kDestroyed, DinoFn, DinoDestroyed)                                             \
  ROW(ServerUploadDino, kServerUploadDino, ControllerWithDinoFn, ServerUploadDino)              \
  ROW(ServerUploadCharacter, kServerUploadCharacter, DinoWithControllerFn,                      \
      DinoServerUploadCharacter)                                                                \
  ROW(ExportDinoData, kExportDinoData, ControllerWithDinoFn, ExportDinoData)                    \
  ROW(CharacterCaptureSnapshot, kCharacterCaptureSnapshot, CharacterItemFn,                     \
      CharacterCaptureSnapshot)                                                                 \
  ROW(DinoCaptureSnapshot, kDinoCaptureSnapshot, DinoItemFn, DinoCaptureSnapshot)               \
  ROW(TameDino, kTameDino, DinoTameFn, DinoTameDino)                                            \
  ROW(TargetingTeamChanged, kTargetingTeamChanged, DinoFn, DinoTargetingTeamChanged)            \
  ROW(SaveWorld, kSaveWorld, SaveWorldFn, GameModeSaveWorld)                                    \
  ROW(DinoTakeDamage, kDinoTakeDamage, DinoTakeDamageFn, DinoTakeDamage)

// The hookable functions, in the order of the rows.
enum class Hook : int {
#define SIM_HOOK_ENUM(hook, name, signature, original) hook,
  SIM_HOOKABLE_FUNCTIONS(SIM_HOOK_ENUM)
#undef SIM_HOOK_ENUM
      Count
};

// A hook's signature and its entry on the list of game names, by Hook value.
template <Hook H>
struct HookRow;
#define SIM_HOOK_ROW(hook, game_name, signature, original)                                \
  template <>                                                                             \
  struct HookRow<Hook::hook> {                                                            \
    using Signature = signature;                                                          \
    static constexpr const host::GameName& name = host::game_names::game_name;            \
    static_assert(host::game_names::game_name.kind == host::GameNameKind::Hook,           \
                  "a hookable function's name must be a hook on the list of game names"); \
  };
SIM_HOOKABLE_FUNCTIONS(SIM_HOOK_ROW)
#undef SIM_HOOK_ROW

template <Hook H>
using HookSignature = typename HookRow<H>::Signature;

}  // namespace sim
