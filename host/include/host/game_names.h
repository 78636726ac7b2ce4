// Every name of the game that the plugin hands to the host: fields and one-bit flags it reads,
// functions it calls, and functions it hooks, each spelled exactly as the host's look-ups and its
// hook table know it ("Class.Field", "Class.Function(ArgTypes)" with no spaces).
//
// This list is the only place such a name is written. A name the game lacks stops a real server
// when the plugin asks for it (the host terminates the process; under HooksDoNotThrow a function
// or hook is refused instead), so every entry must stand verbatim on a live (uncommented) line of
// the host SDK's headers; scripts/check-windows holds the list against an SDK checkout. A hook
// the SDK shows on no live line is marked with its reason in `unverified_because`: the game most
// likely lacks it, so the boundary asks for it only where the host survives a missing name
// (host::HostSurvivesUnknownFunctions), and never as a field, flag or called function. The check
// lets such an entry, and only that, stand without a live line, and fails once it stands on one
// (the mark is then out of date).
//
// The simulated host registers its fields, flags, functions and hooks only under names on this
// list, so it cannot know a name the plugin could not use on a real server.
//
// Pure data: no host service is reached by including it.
#pragma once

#include <cstddef>
#include <string_view>

namespace host {

enum class GameNameKind { Field, Flag, Function, Hook };

struct GameName {
  const char* name;
  GameNameKind kind;
  // Null, or why the name is used although no live line of the SDK shows it (hooks only).
  const char* unverified_because = nullptr;
};

namespace game_names {

// Fields: offsets from the start of their objects.
inline constexpr GameName kClassPrivate{"UObjectBase.ClassPrivate", GameNameKind::Field};
inline constexpr GameName kObjectNamePrivate{"UObjectBase.NamePrivate", GameNameKind::Field};
inline constexpr GameName kRootComponent{"AActor.RootComponent", GameNameKind::Field};
inline constexpr GameName kMesh{"ACharacter.Mesh", GameNameKind::Field};
inline constexpr GameName kRelativeScale3D{"USceneComponent.RelativeScale3D", GameNameKind::Field};
inline constexpr GameName kBaseDinoScale{"APrimalDinoCharacter.BaseDinoScale", GameNameKind::Field};
inline constexpr GameName kRiderFPVCameraOffset{"APrimalDinoCharacter.RiderFPVCameraOffset",
                                                GameNameKind::Field};
inline constexpr GameName kOwningPlayerID{"APrimalDinoCharacter.OwningPlayerID",
                                          GameNameKind::Field};
inline constexpr GameName kTamerString{"APrimalDinoCharacter.TamerString", GameNameKind::Field};
inline constexpr GameName kTamedName{"APrimalDinoCharacter.TamedName", GameNameKind::Field};
inline constexpr GameName kTargetingTeam{"UPrimalActor.TargetingTeam", GameNameKind::Field};
inline constexpr GameName kChildProperties{"UStruct.ChildProperties", GameNameKind::Field};
inline constexpr GameName kPropertyNext{"FField.Next", GameNameKind::Field};
inline constexpr GameName kPropertyNamePrivate{"FField.NamePrivate", GameNameKind::Field};
inline constexpr GameName kPropertyElementSize{"FProperty.ElementSize", GameNameKind::Field};
inline constexpr GameName kPropertyOffsetInternal{"FProperty.Offset_Internal", GameNameKind::Field};

// One-bit flags.
inline constexpr GameName kIsDead{"APrimalCharacter.bIsDead", GameNameKind::Flag};
inline constexpr GameName kActorIsBeingDestroyed{"AActor.bActorIsBeingDestroyed",
                                                 GameNameKind::Flag};
inline constexpr GameName kIsAdmin{"APrimalPlayerController.bIsAdmin", GameNameKind::Flag};

// Functions the plugin calls.
inline constexpr GameName kMalloc{"FMemory.Malloc(unsigned__int64,unsignedint)",
                                  GameNameKind::Function};
inline constexpr GameName kRealloc{"FMemory.Realloc(void*,unsigned__int64,unsignedint)",
                                   GameNameKind::Function};
inline constexpr GameName kFree{"FMemory.Free(void*)", GameNameKind::Function};
inline constexpr GameName kCreatureStaticClass{"APrimalDinoCharacter.GetPrivateStaticClass()",
                                               GameNameKind::Function};
inline constexpr GameName kPlayerCharacterStaticClass{"AShooterCharacter.StaticClass()",
                                                      GameNameKind::Function};
inline constexpr GameName kIsChildOf{"UStruct.IsChildOf(UStruct*)", GameNameKind::Function};
inline constexpr GameName kNameToString{"FName.ToString(FString&)", GameNameKind::Function};
inline constexpr GameName kSetActorRelativeScale3D{
    "AActor.SetActorRelativeScale3D(UE::Math::TVector<double>)", GameNameKind::Function};
inline constexpr GameName kGetUntamedTargetingTeam{"APrimalDinoCharacter.GetUntamedTargetingTeam()",
                                                   GameNameKind::Function};
inline constexpr GameName kWeakAssign{"FWeakObjectPtr.operator=(UObject*)", GameNameKind::Function};
inline constexpr GameName kWeakGet{"FWeakObjectPtr.Get()", GameNameKind::Function};
inline constexpr GameName kGetRidingDino{"AShooterCharacter.GetRidingDino()",
                                         GameNameKind::Function};
inline constexpr GameName kGetAllActorsOfClass{
    "UGameplayStatics.GetAllActorsOfClass(UObject*,TSubclassOf<AActor>,TArray<AActor*,"
    "TSizedDefaultAllocator<32>>&)",
    GameNameKind::Function};
inline constexpr GameName kRconSendMessage{"RCONClientConnection.SendMessage(int,int,FString&)",
                                           GameNameKind::Function};
inline constexpr GameName kStricmp{"FGenericPlatformStricmp.Stricmp(wchar_t*,wchar_t*)",
                                   GameNameKind::Function};

// Functions the host looks up by name for the plugin, inside its own calls: a player message goes
// through the host's messaging manager, which builds its sender name with the game's narrow
// string constructor and calls the game's direct chat message. The plugin never resolves them
// itself, but a game lacking either stops or crashes the server at the plugin's first reply.
inline constexpr GameName kFStringFromNarrow{"FString.FString(char*)", GameNameKind::Function};
inline constexpr GameName kClientServerChatDirectMessage{
    "AShooterPlayerController.ClientServerChatDirectMessage(FString&,FLinearColor,bool,FString&)",
    GameNameKind::Function};

// Functions the plugin hooks.
inline constexpr GameName kBeginPlay{"APrimalDinoCharacter.BeginPlay()", GameNameKind::Hook};
inline constexpr GameName kOnUncryo{
    "APrimalDinoCharacter.OnUncryo(AShooterPlayerController*)", GameNameKind::Hook,
    "the SDK's header cleanup for game version 89.31 commented it out with other functions the "
    "game had changed: the game most likely lacks it (BeginPlay runs for released creatures)"};
inline constexpr GameName kOnCryo{"APrimalDinoCharacter.OnCryo(AShooterPlayerController*)",
                                  GameNameKind::Hook};
inline constexpr GameName kMultiOnCryo{
    "APrimalDinoCharacter.Multi_OnCryo_Implementation(AShooterPlayerController*)",
    GameNameKind::Hook};
inline constexpr GameName kGiveCryoItemAndCaptureDino{
    "AShooterPlayerController.GiveCryoItemAndCaptureDino(APrimalDinoCharacter*)",
    GameNameKind::Hook};
inline constexpr GameName kGetCryoDinoData{
    "UVictoryCore.GetCryoDinoData(UObject*,APrimalDinoCharacter*)", GameNameKind::Hook};
inline constexpr GameName kSetRider{"APrimalDinoCharacter.SetRider(AShooterCharacter*)",
                                    GameNameKind::Hook};
inline constexpr GameName kDinoCameraArmLength{
    "APrimalDinoCharacter.GetPrimalCameraDesiredArmLength(FPrimalCameraParams*,float,float)",
    GameNameKind::Hook};
inline constexpr GameName kCharacterCameraArmLength{
    "APrimalCharacter.GetPrimalCameraDesiredArmLength(FPrimalCameraParams*,float,float)",
    GameNameKind::Hook};
inline constexpr GameName kCharacterCameraArmLengthSimple{
    "APrimalCharacter.GetPrimalCameraDesiredArmLength(float,float)", GameNameKind::Hook};
inline constexpr GameName kCanCryo{"APrimalDinoCharacter.CanCryo(AShooterPlayerController*)",
                                   GameNameKind::Hook};
inline constexpr GameName kUnstasis{"APrimalDinoCharacter.Unstasis()", GameNameKind::Hook};
inline constexpr GameName kTakeDamage{
    "APrimalCharacter.TakeDamage(float,FDamageEvent&,AController*,AActor*)", GameNameKind::Hook};
inline constexpr GameName kSerialize{"APrimalCharacter.Serialize(FArchive&)", GameNameKind::Hook};
inline constexpr GameName kDestroy{"APrimalDinoCharacter.Destroy(bool,bool)", GameNameKind::Hook};
inline constexpr GameName kDestroyed{"APrimalDinoCharacter.Destroyed()", GameNameKind::Hook};
inline constexpr GameName kServerUploadDino{
    "AShooterPlayerController.ServerUploadDino_Implementation(APrimalDinoCharacter*)",
    GameNameKind::Hook};
inline constexpr GameName kServerUploadCharacter{
    "APrimalDinoCharacter.ServerUploadCharacter(AShooterPlayerController*)", GameNameKind::Hook};
inline constexpr GameName kExportDinoData{
    "AShooterPlayerController.ExportDinoData(APrimalDinoCharacter*)", GameNameKind::Hook};
inline constexpr GameName kCharacterCaptureSnapshot{
    "APrimalCharacter.CaptureCharacterSnapshot(UPrimalItem*)", GameNameKind::Hook};
inline constexpr GameName kDinoCaptureSnapshot{
    "APrimalDinoCharacter.CaptureCharacterSnapshot(UPrimalItem*)", GameNameKind::Hook};
inline constexpr GameName kTameDino{
    "APrimalDinoCharacter.TameDino(AShooterPlayerController*,bool,int,bool,bool,bool)",
    GameNameKind::Hook};
inline constexpr GameName kTargetingTeamChanged{"APrimalDinoCharacter.TargetingTeamChanged()",
                                                GameNameKind::Hook};
inline constexpr GameName kSaveWorld{"AShooterGameMode.SaveWorld(bool,bool,bool)",
                                     GameNameKind::Hook};
inline constexpr GameName kDinoTakeDamage{
    "APrimalDinoCharacter.TakeDamage(float,FDamageEvent&,AController*,AActor*)",
    GameNameKind::Hook};

}  // namespace game_names

// The whole list, for checks that walk it.
inline constexpr const GameName* kGameNames[] = {
    &game_names::kClassPrivate,
    &game_names::kObjectNamePrivate,
    &game_names::kRootComponent,
    &game_names::kMesh,
    &game_names::kRelativeScale3D,
    &game_names::kBaseDinoScale,
    &game_names::kRiderFPVCameraOffset,
    &game_names::kOwningPlayerID,
    &game_names::kTamerString,
    &game_names::kTamedName,
    &game_names::kTargetingTeam,
    &game_names::kChildProperties,
    &game_names::kPropertyNext,
    &game_names::kPropertyNamePrivate,
    &game_names::kPropertyElementSize,
    &game_names::kPropertyOffsetInternal,
    &game_names::kIsDead,
    &game_names::kActorIsBeingDestroyed,
    &game_names::kIsAdmin,
    &game_names::kMalloc,
    &game_names::kRealloc,
    &game_names::kFree,
    &game_names::kCreatureStaticClass,
    &game_names::kPlayerCharacterStaticClass,
    &game_names::kIsChildOf,
    &game_names::kNameToString,
    &game_names::kSetActorRelativeScale3D,
    &game_names::kGetUntamedTargetingTeam,
    &game_names::kWeakAssign,
    &game_names::kWeakGet,
    &game_names::kGetRidingDino,
    &game_names::kGetAllActorsOfClass,
    &game_names::kRconSendMessage,
    &game_names::kStricmp,
    &game_names::kFStringFromNarrow,
    &game_names::kClientServerChatDirectMessage,
    &game_names::kBeginPlay,
    &game_names::kOnUncryo,
    &game_names::kOnCryo,
    &game_names::kMultiOnCryo,
    &game_names::kGiveCryoItemAndCaptureDino,
    &game_names::kGetCryoDinoData,
    &game_names::kSetRider,
    &game_names::kDinoCameraArmLength,
    &game_names::kCharacterCameraArmLength,
    &game_names::kCharacterCameraArmLengthSimple,
    &game_names::kCanCryo,
    &game_names::kUnstasis,
    &game_names::kTakeDamage,
    &game_names::kSerialize,
    &game_names::kDestroy,
    &game_names::kDestroyed,
    &game_names::kServerUploadDino,
    &game_names::kServerUploadCharacter,
    &game_names::kExportDinoData,
    &game_names::kCharacterCaptureSnapshot,
    &game_names::kDinoCaptureSnapshot,
    &game_names::kTameDino,
    &game_names::kTargetingTeamChanged,
    &game_names::kSaveWorld,
    &game_names::kDinoTakeDamage,
};

// The entry of that name, or null when the name is not on the list.
constexpr const GameName* FindGameName(std::string_view name) {
  for (const GameName* entry : kGameNames)
    if (name == entry->name) return entry;
  return nullptr;
}

// No name stands twice on the list.
constexpr bool GameNamesAreDistinct() {
  const auto count = sizeof(kGameNames) / sizeof(kGameNames[0]);
  for (std::size_t i = 0; i < count; ++i)
    for (std::size_t j = i + 1; j < count; ++j)
      if (std::string_view(kGameNames[i]->name) == kGameNames[j]->name) return false;
  return true;
}
static_assert(GameNamesAreDistinct());

// Whether the name is on the list as a name of that kind. A hooked function is a function too:
// its address can be looked up like any other.
constexpr bool IsGameName(std::string_view name, GameNameKind kind) {
  const GameName* entry = FindGameName(name);
  if (entry == nullptr) return false;
  return entry->kind == kind ||
         (kind == GameNameKind::Function && entry->kind == GameNameKind::Hook);
}

}  // namespace host
