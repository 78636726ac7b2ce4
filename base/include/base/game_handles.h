// Every game name the plugin uses, resolved into offsets, flag descriptions and function
// addresses once, when the plugin starts, and used from then on without a name look-up.
// Offsets and addresses do not change while the server process runs.
//
// ResolveGameHandles writes the table on the game thread while nothing else runs plugin code
// (Plugin_Init); everything else only reads it. A field or flag name the host does not know ends
// the server there, as any look-up of it would. A function the host does not have is kept as
// unresolved: calling it raises host::UnknownGameName.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/game.h"

namespace tinyhorde {

struct GameHandles {
  // Field offsets from the start of their objects.
  std::uintptr_t ClassPrivate = 0;            // UObjectBase: the object's class
  std::uintptr_t ObjectNamePrivate = 0;       // UObjectBase: the object's (class's) name
  std::uintptr_t RootComponent = 0;           // AActor
  std::uintptr_t Mesh = 0;                    // ACharacter
  std::uintptr_t RelativeScale3D = 0;         // USceneComponent
  std::uintptr_t BaseDinoScale = 0;           // APrimalDinoCharacter
  std::uintptr_t RiderFPVCameraOffset = 0;    // APrimalDinoCharacter
  std::uintptr_t OwningPlayerID = 0;          // APrimalDinoCharacter
  std::uintptr_t TamerString = 0;             // APrimalDinoCharacter
  std::uintptr_t TamedName = 0;               // APrimalDinoCharacter
  std::uintptr_t TargetingTeam = 0;           // UPrimalActor
  std::uintptr_t ChildProperties = 0;         // UStruct: a class's own property list
  std::uintptr_t PropertyNext = 0;            // FField
  std::uintptr_t PropertyNamePrivate = 0;     // FField
  std::uintptr_t PropertyElementSize = 0;     // FProperty
  std::uintptr_t PropertyOffsetInternal = 0;  // FProperty

  // One-bit flags, with their words' offsets from the start of their objects.
  host::BitField bIsDead{};                 // APrimalCharacter
  host::BitField bActorIsBeingDestroyed{};  // AActor
  host::BitField bIsAdmin{};                // APrimalPlayerController

  host::GameFunction<host::UClass*()> CreatureClass{host::game_names::kCreatureStaticClass};
  host::GameFunction<host::UClass*()> PlayerCharacterClass{
      host::game_names::kPlayerCharacterStaticClass};
  host::GameFunction<bool(const host::UStruct*, const host::UStruct*)> IsChildOf{
      host::game_names::kIsChildOf};
  host::GameFunction<void(const host::FName*, host::FString*)> NameToString{
      host::game_names::kNameToString};
  host::GameFunction<void(host::AActor*, host::FVector)> SetActorRelativeScale3D{
      host::game_names::kSetActorRelativeScale3D};
  host::GameFunction<host::int32(host::APrimalDinoCharacter*)> GetUntamedTargetingTeam{
      host::game_names::kGetUntamedTargetingTeam};
  host::GameFunction<void(host::FWeakObjectPtr*, host::UObject*)> WeakAssign{
      host::game_names::kWeakAssign};
  host::GameFunction<host::UObject*(const host::FWeakObjectPtr*, bool)> WeakGet{
      host::game_names::kWeakGet};
  host::GameFunction<host::APrimalDinoCharacter*(host::AShooterCharacter*)> GetRidingDino{
      host::game_names::kGetRidingDino};
  // The class is passed as the address of the game's TSubclassOf<AActor> (a struct holding one
  // class pointer), as the host SDK's own wrapper passes it; by value, the game would read the
  // class's first bytes as the class.
  host::GameFunction<void(host::UObject*, const host::TSubclassOf<host::AActor>*,
                          host::TArray<host::AActor*>*)>
      GetAllActorsOfClass{host::game_names::kGetAllActorsOfClass};
  host::GameFunction<void(host::RCONClientConnection*, int, int, host::FString*)> SendRconMessage{
      host::game_names::kRconSendMessage};
  host::GameFunction<int(const host::TCHAR*, const host::TCHAR*)> Stricmp{
      host::game_names::kStricmp};
};

namespace game_handles_detail {
extern GameHandles table;
extern bool resolved;
[[noreturn]] void ThrowUnresolved();
}  // namespace game_handles_detail

// The resolved table. Raises std::logic_error before the first ResolveGameHandles. Inline: the
// hot paths read it for every creature.
inline const GameHandles& GameHandleTable() {
  if (!game_handles_detail::resolved) game_handles_detail::ThrowUnresolved();
  return game_handles_detail::table;
}

// Resolves every name anew. Answers the functions the host does not have, in the table's
// order; the rest of the table is usable either way.
std::vector<std::string> ResolveGameHandles();

// The game's creature class and player character class, asked of the game at their first use
// after each resolution (not at start-up, when the game may not have made its classes yet) and
// kept. Null when the game has no such function or class. Game thread.
host::UClass* CreatureClassObject();
host::UClass* PlayerCharacterClassObject();

// Of those missing functions, the ones without which a creature could be shrunk and not put
// back, or not be recognised: while any is missing nothing may be shrunk.
std::vector<std::string> FunctionsShrinkingNeeds(const std::vector<std::string>& missing);

}  // namespace tinyhorde
