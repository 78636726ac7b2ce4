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
// Each entry names the plugin's features that need it (`features`, one or more): a game that
// lacks the name turns off those and nothing else (base/game_names_check.h). When in doubt an
// entry names shrinking: a name whose absence could let a creature be stored small must stop
// the plugin from shrinking.
//
// The simulated host registers its fields, flags, functions and hooks only under names on this
// list, so it cannot know a name the plugin could not use on a real server.
//
// Pure data: no host service is reached by including it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace host {

enum class GameNameKind { Field, Flag, Function, Hook };

// The plugin's features, one bit each: an entry names every feature that needs it, and a game
// that lacks the name turns exactly those off (base/game_names_check.h holds the rule).
using Features = std::uint32_t;
namespace feature {
// Putting a creature back to full size: without it Tinyhorde is off.
inline constexpr Features kRestoring = 1u << 0;
// Recognising and shrinking a target, and every path that puts it back before storage: without
// it nothing is shrunk and every restore still runs.
inline constexpr Features kShrinking = 1u << 1;
// The triggers that shrink a creature: it begins play, leaves a cryopod, wakes from stasis, is
// tamed, changes team, is ridden.
inline constexpr Features kBeginPlayTrigger = 1u << 2;
inline constexpr Features kReleaseTrigger = 1u << 3;
inline constexpr Features kWakeTrigger = 1u << 4;
inline constexpr Features kTameTrigger = 1u << 5;
inline constexpr Features kTeamChangeTrigger = 1u << 6;
inline constexpr Features kRideTrigger = 1u << 7;
// The delayed passes after a trigger and the re-shrink after a save, export or snapshot.
inline constexpr Features kDelayedPasses = 1u << 8;
// Walking the world's creatures: resize-all, reload, setscale, a load into a running world, and
// the restore at unload.
inline constexpr Features kWorldWalk = 1u << 9;
// Camera scaling: the rider camera offsets and the camera arm length.
inline constexpr Features kCamera = 1u << 10;
// The signs of the tamed test; each is skipped on its own.
inline constexpr Features kTamedSignTeam = 1u << 11;
inline constexpr Features kTamedSignOwner = 1u << 12;
inline constexpr Features kTamedSignTamer = 1u << 13;
inline constexpr Features kTamedSignName = 1u << 14;
inline constexpr Features kTamedSignUntamedTeam = 1u << 15;
// The chat's admin check (its admin subcommands) and its subcommand matching.
inline constexpr Features kChatAdminCommands = 1u << 16;
inline constexpr Features kChatSubcommands = 1u << 17;
// Replies to RCON commands (without them the commands are not registered).
inline constexpr Features kRconReplies = 1u << 18;
// Messages to players (without them replies go to the log).
inline constexpr Features kPlayerReplies = 1u << 19;
inline constexpr Features kAll = (1u << 20) - 1;
}  // namespace feature

struct GameName {
  const char* name;
  GameNameKind kind;
  // The features that need the name, one or more.
  Features features = 0;
  // Null, or why the name is used although no live line of the SDK shows it (hooks only).
  const char* unverified_because = nullptr;
};

namespace game_names {

// Fields: offsets from the start of their objects.
inline constexpr GameName kClassPrivate{"UObjectBase.ClassPrivate", GameNameKind::Field,
                                        feature::kShrinking | feature::kCamera};
inline constexpr GameName kObjectNamePrivate{"UObjectBase.NamePrivate", GameNameKind::Field,
                                             feature::kShrinking};
inline constexpr GameName kRootComponent{"AActor.RootComponent", GameNameKind::Field,
                                         feature::kRestoring};
inline constexpr GameName kMesh{"ACharacter.Mesh", GameNameKind::Field, feature::kRestoring};
inline constexpr GameName kRelativeScale3D{"USceneComponent.RelativeScale3D", GameNameKind::Field,
                                           feature::kRestoring};
inline constexpr GameName kBaseDinoScale{"APrimalDinoCharacter.BaseDinoScale", GameNameKind::Field,
                                         feature::kRestoring};
inline constexpr GameName kRiderFPVCameraOffset{"APrimalDinoCharacter.RiderFPVCameraOffset",
                                                GameNameKind::Field, feature::kCamera};
inline constexpr GameName kOwningPlayerID{"APrimalDinoCharacter.OwningPlayerID",
                                          GameNameKind::Field, feature::kTamedSignOwner};
inline constexpr GameName kTamerString{"APrimalDinoCharacter.TamerString", GameNameKind::Field,
                                       feature::kTamedSignTamer};
inline constexpr GameName kTamedName{"APrimalDinoCharacter.TamedName", GameNameKind::Field,
                                     feature::kTamedSignName};
inline constexpr GameName kTargetingTeam{
    "UPrimalActor.TargetingTeam", GameNameKind::Field,
    feature::kTamedSignTeam | feature::kTamedSignUntamedTeam | feature::kTeamChangeTrigger};
inline constexpr GameName kChildProperties{"UStruct.ChildProperties", GameNameKind::Field,
                                           feature::kCamera};
inline constexpr GameName kPropertyNext{"FField.Next", GameNameKind::Field, feature::kCamera};
inline constexpr GameName kPropertyNamePrivate{"FField.NamePrivate", GameNameKind::Field,
                                               feature::kCamera};
inline constexpr GameName kPropertyElementSize{"FProperty.ElementSize", GameNameKind::Field,
                                               feature::kCamera};
inline constexpr GameName kPropertyOffsetInternal{"FProperty.Offset_Internal", GameNameKind::Field,
                                                  feature::kCamera};

// One-bit flags.
inline constexpr GameName kIsDead{"APrimalCharacter.bIsDead", GameNameKind::Flag,
                                  feature::kRestoring};
inline constexpr GameName kActorIsBeingDestroyed{"AActor.bActorIsBeingDestroyed",
                                                 GameNameKind::Flag,
                                                 feature::kShrinking | feature::kDelayedPasses};
inline constexpr GameName kIsAdmin{"APrimalPlayerController.bIsAdmin", GameNameKind::Flag,
                                   feature::kChatAdminCommands};

// Functions the plugin calls.
inline constexpr GameName kMalloc{"FMemory.Malloc(unsigned__int64,unsignedint)",
                                  GameNameKind::Function, feature::kRestoring};
inline constexpr GameName kRealloc{"FMemory.Realloc(void*,unsigned__int64,unsignedint)",
                                   GameNameKind::Function, feature::kRestoring};
inline constexpr GameName kFree{"FMemory.Free(void*)", GameNameKind::Function, feature::kRestoring};
inline constexpr GameName kCreatureStaticClass{"APrimalDinoCharacter.GetPrivateStaticClass()",
                                               GameNameKind::Function,
                                               feature::kShrinking | feature::kWorldWalk};
inline constexpr GameName kPlayerCharacterStaticClass{"AShooterCharacter.StaticClass()",
                                                      GameNameKind::Function, feature::kCamera};
inline constexpr GameName kIsChildOf{"UStruct.IsChildOf(UStruct*)", GameNameKind::Function,
                                     feature::kShrinking | feature::kCamera};
inline constexpr GameName kNameToString{"FName.ToString(FString&)", GameNameKind::Function,
                                        feature::kShrinking | feature::kCamera};
inline constexpr GameName kSetActorRelativeScale3D{
    "AActor.SetActorRelativeScale3D(UE::Math::TVector<double>)", GameNameKind::Function,
    feature::kRestoring};
inline constexpr GameName kGetUntamedTargetingTeam{"APrimalDinoCharacter.GetUntamedTargetingTeam()",
                                                   GameNameKind::Function,
                                                   feature::kTamedSignUntamedTeam};
inline constexpr GameName kWeakAssign{"FWeakObjectPtr.operator=(UObject*)", GameNameKind::Function,
                                      feature::kShrinking | feature::kDelayedPasses};
inline constexpr GameName kWeakGet{"FWeakObjectPtr.Get()", GameNameKind::Function,
                                   feature::kShrinking | feature::kDelayedPasses};
inline constexpr GameName kGetRidingDino{"AShooterCharacter.GetRidingDino()",
                                         GameNameKind::Function, feature::kCamera};
inline constexpr GameName kGetAllActorsOfClass{
    "UGameplayStatics.GetAllActorsOfClass(UObject*,TSubclassOf<AActor>,TArray<AActor*,"
    "TSizedDefaultAllocator<32>>&)",
    GameNameKind::Function, feature::kShrinking | feature::kWorldWalk};
inline constexpr GameName kRconSendMessage{"RCONClientConnection.SendMessage(int,int,FString&)",
                                           GameNameKind::Function, feature::kRconReplies};
inline constexpr GameName kStricmp{"FGenericPlatformStricmp.Stricmp(wchar_t*,wchar_t*)",
                                   GameNameKind::Function, feature::kChatSubcommands};

// Functions the host looks up by name for the plugin, inside its own calls: a player message goes
// through the host's messaging manager, which builds its sender name with the game's narrow
// string constructor and calls the game's direct chat message. The plugin never resolves them
// itself, but a game lacking either stops or crashes the server at the plugin's first reply.
inline constexpr GameName kFStringFromNarrow{"FString.FString(char*)", GameNameKind::Function,
                                             feature::kPlayerReplies};
inline constexpr GameName kClientServerChatDirectMessage{
    "AShooterPlayerController.ClientServerChatDirectMessage(FString&,FLinearColor,bool,FString&)",
    GameNameKind::Function, feature::kPlayerReplies};

// Functions the plugin hooks.
inline constexpr GameName kBeginPlay{"APrimalDinoCharacter.BeginPlay()", GameNameKind::Hook,
                                     feature::kBeginPlayTrigger};
inline constexpr GameName kOnUncryo{
    "APrimalDinoCharacter.OnUncryo(AShooterPlayerController*)", GameNameKind::Hook,
    feature::kReleaseTrigger,
    "the SDK's header cleanup for game version 89.31 commented it out with other functions the "
    "game had changed: the game most likely lacks it (BeginPlay runs for released creatures)"};
inline constexpr GameName kOnCryo{"APrimalDinoCharacter.OnCryo(AShooterPlayerController*)",
                                  GameNameKind::Hook, feature::kShrinking};
inline constexpr GameName kMultiOnCryo{
    "APrimalDinoCharacter.Multi_OnCryo_Implementation(AShooterPlayerController*)",
    GameNameKind::Hook, feature::kShrinking};
inline constexpr GameName kGiveCryoItemAndCaptureDino{
    "AShooterPlayerController.GiveCryoItemAndCaptureDino(APrimalDinoCharacter*)",
    GameNameKind::Hook, feature::kShrinking};
inline constexpr GameName kGetCryoDinoData{
    "UVictoryCore.GetCryoDinoData(UObject*,APrimalDinoCharacter*)", GameNameKind::Hook,
    feature::kShrinking};
inline constexpr GameName kSetRider{"APrimalDinoCharacter.SetRider(AShooterCharacter*)",
                                    GameNameKind::Hook, feature::kRideTrigger};
inline constexpr GameName kDinoCameraArmLength{
    "APrimalDinoCharacter.GetPrimalCameraDesiredArmLength(FPrimalCameraParams*,float,float)",
    GameNameKind::Hook, feature::kCamera};
inline constexpr GameName kCharacterCameraArmLength{
    "APrimalCharacter.GetPrimalCameraDesiredArmLength(FPrimalCameraParams*,float,float)",
    GameNameKind::Hook, feature::kCamera};
inline constexpr GameName kCharacterCameraArmLengthSimple{
    "APrimalCharacter.GetPrimalCameraDesiredArmLength(float,float)", GameNameKind::Hook,
    feature::kCamera};
inline constexpr GameName kCanCryo{"APrimalDinoCharacter.CanCryo(AShooterPlayerController*)",
                                   GameNameKind::Hook, feature::kShrinking};
inline constexpr GameName kUnstasis{"APrimalDinoCharacter.Unstasis()", GameNameKind::Hook,
                                    feature::kWakeTrigger};
inline constexpr GameName kTakeDamage{
    "APrimalCharacter.TakeDamage(float,FDamageEvent&,AController*,AActor*)", GameNameKind::Hook,
    feature::kShrinking};
inline constexpr GameName kSerialize{"APrimalCharacter.Serialize(FArchive&)", GameNameKind::Hook,
                                     feature::kShrinking};
inline constexpr GameName kDestroy{"APrimalDinoCharacter.Destroy(bool,bool)", GameNameKind::Hook,
                                   feature::kShrinking};
inline constexpr GameName kDestroyed{"APrimalDinoCharacter.Destroyed()", GameNameKind::Hook,
                                     feature::kShrinking};
inline constexpr GameName kServerUploadDino{
    "AShooterPlayerController.ServerUploadDino_Implementation(APrimalDinoCharacter*)",
    GameNameKind::Hook, feature::kShrinking};
inline constexpr GameName kServerUploadCharacter{
    "APrimalDinoCharacter.ServerUploadCharacter(AShooterPlayerController*)", GameNameKind::Hook,
    feature::kShrinking};
inline constexpr GameName kExportDinoData{
    "AShooterPlayerController.ExportDinoData(APrimalDinoCharacter*)", GameNameKind::Hook,
    feature::kShrinking};
inline constexpr GameName kCharacterCaptureSnapshot{
    "APrimalCharacter.CaptureCharacterSnapshot(UPrimalItem*)", GameNameKind::Hook,
    feature::kShrinking};
inline constexpr GameName kDinoCaptureSnapshot{
    "APrimalDinoCharacter.CaptureCharacterSnapshot(UPrimalItem*)", GameNameKind::Hook,
    feature::kShrinking};
inline constexpr GameName kTameDino{
    "APrimalDinoCharacter.TameDino(AShooterPlayerController*,bool,int,bool,bool,bool)",
    GameNameKind::Hook, feature::kTameTrigger};
inline constexpr GameName kTargetingTeamChanged{"APrimalDinoCharacter.TargetingTeamChanged()",
                                                GameNameKind::Hook, feature::kTeamChangeTrigger};
inline constexpr GameName kSaveWorld{"AShooterGameMode.SaveWorld(bool,bool,bool)",
                                     GameNameKind::Hook,
                                     feature::kShrinking | feature::kDelayedPasses};
inline constexpr GameName kDinoTakeDamage{
    "APrimalDinoCharacter.TakeDamage(float,FDamageEvent&,AController*,AActor*)", GameNameKind::Hook,
    feature::kShrinking};

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

// Every name serves at least one feature, and names only features that exist.
constexpr bool EveryGameNameServesAFeature() {
  for (const GameName* entry : kGameNames)
    if (entry->features == 0 || (entry->features & ~feature::kAll) != 0) return false;
  return true;
}
static_assert(EveryGameNameServesAFeature(), "an entry of kGameNames names no feature");

// Whether the name is on the list as a name of that kind. A hooked function is a function too:
// its address can be looked up like any other.
constexpr bool IsGameName(std::string_view name, GameNameKind kind) {
  const GameName* entry = FindGameName(name);
  if (entry == nullptr) return false;
  return entry->kind == kind ||
         (kind == GameNameKind::Function && entry->kind == GameNameKind::Hook);
}

}  // namespace host
