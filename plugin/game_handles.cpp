#include "plugin/game_handles.h"

#include <algorithm>
#include <stdexcept>

namespace tinyhorde {

namespace game_handles_detail {

GameHandles table;
bool resolved = false;

void ThrowUnresolved() {
  throw std::logic_error("game names used before they were resolved");
}

}  // namespace game_handles_detail

namespace {

using game_handles_detail::resolved;
using game_handles_detail::table;

// A class asked of the game once per resolution.
struct KeptClass {
  bool asked = false;
  host::UClass* cls = nullptr;
};
KeptClass creature_class;
KeptClass player_character_class;

host::UClass* Ask(KeptClass& kept, const host::GameFunction<host::UClass*()>& function) {
  if (!kept.asked) {
    kept.cls = function.Resolved() ? function() : nullptr;
    kept.asked = true;
  }
  return kept.cls;
}

template <typename Function>
void ResolveFunction(Function& function, std::vector<std::string>& missing) {
  if (!function.Resolve()) missing.emplace_back(function.Name());
}

}  // namespace

std::vector<std::string> ResolveGameHandles() {
  GameHandles fresh;
  fresh.ClassPrivate = host::GetFieldOffset("UObjectBase.ClassPrivate");
  fresh.ObjectNamePrivate = host::GetFieldOffset("UObjectBase.NamePrivate");
  fresh.RootComponent = host::GetFieldOffset("AActor.RootComponent");
  fresh.Mesh = host::GetFieldOffset("ACharacter.Mesh");
  fresh.RelativeScale3D = host::GetFieldOffset("USceneComponent.RelativeScale3D");
  fresh.BaseDinoScale = host::GetFieldOffset("APrimalDinoCharacter.BaseDinoScale");
  fresh.RiderFPVCameraOffset = host::GetFieldOffset("APrimalDinoCharacter.RiderFPVCameraOffset");
  fresh.OwningPlayerID = host::GetFieldOffset("APrimalDinoCharacter.OwningPlayerID");
  fresh.TamerString = host::GetFieldOffset("APrimalDinoCharacter.TamerString");
  fresh.TamedName = host::GetFieldOffset("APrimalDinoCharacter.TamedName");
  fresh.TargetingTeam = host::GetFieldOffset("UPrimalActor.TargetingTeam");
  fresh.ChildProperties = host::GetFieldOffset("UStruct.ChildProperties");
  fresh.PropertyNext = host::GetFieldOffset("FField.Next");
  fresh.PropertyNamePrivate = host::GetFieldOffset("FField.NamePrivate");
  fresh.PropertyElementSize = host::GetFieldOffset("FProperty.ElementSize");
  fresh.PropertyOffsetInternal = host::GetFieldOffset("FProperty.Offset_Internal");

  fresh.bIsDead = host::GetBitFieldOffset("APrimalCharacter.bIsDead");
  fresh.bActorIsBeingDestroyed = host::GetBitFieldOffset("AActor.bActorIsBeingDestroyed");
  fresh.bDidSetupTamed = host::GetBitFieldOffset("APrimalDinoCharacter.bDidSetupTamed");
  fresh.bIsAdmin = host::GetBitFieldOffset("APrimalPlayerController.bIsAdmin");

  std::vector<std::string> missing;
  ResolveFunction(fresh.CreatureClass, missing);
  ResolveFunction(fresh.PlayerCharacterClass, missing);
  ResolveFunction(fresh.IsChildOf, missing);
  ResolveFunction(fresh.NameToString, missing);
  ResolveFunction(fresh.SetActorRelativeScale3D, missing);
  ResolveFunction(fresh.GetUntamedTargetingTeam, missing);
  ResolveFunction(fresh.WeakAssign, missing);
  ResolveFunction(fresh.WeakGet, missing);
  ResolveFunction(fresh.GetRidingDino, missing);
  ResolveFunction(fresh.GetAllActorsOfClass, missing);
  ResolveFunction(fresh.SendRconMessage, missing);
  ResolveFunction(fresh.Stricmp, missing);

  for (auto& name : host::FMemory::Resolve()) missing.push_back(std::move(name));

  table = fresh;
  creature_class = {};
  player_character_class = {};
  resolved = true;
  return missing;
}

host::UClass* CreatureClassObject() {
  return Ask(creature_class, Game().CreatureClass);
}

host::UClass* PlayerCharacterClassObject() {
  return Ask(player_character_class, Game().PlayerCharacterClass);
}

std::vector<std::string> FunctionsShrinkingNeeds(const std::vector<std::string>& missing) {
  // Recognising a target (its class, its name, the tamed test), shrinking it, and keeping the
  // weak record through which it is put back.
  const GameHandles& game = Game();
  const char* const needed[] = {
      game.CreatureClass.Name(), game.IsChildOf.Name(), game.NameToString.Name(),
      game.SetActorRelativeScale3D.Name(), game.GetUntamedTargetingTeam.Name(),
      game.WeakAssign.Name(), game.WeakGet.Name(),
      // Class names are read into the game's text buffers.
      "FMemory.Malloc(unsigned__int64,unsignedint)",
      "FMemory.Realloc(void*,unsigned__int64,unsignedint)", "FMemory.Free(void*)"};
  std::vector<std::string> result;
  for (const auto& name : missing)
    if (std::find(std::begin(needed), std::end(needed), name) != std::end(needed))
      result.push_back(name);
  return result;
}

}  // namespace tinyhorde
