#include "base/game_handles.h"

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

namespace names = host::game_names;
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
  fresh.ClassPrivate = host::GetFieldOffset(names::kClassPrivate);
  fresh.ObjectNamePrivate = host::GetFieldOffset(names::kObjectNamePrivate);
  fresh.RootComponent = host::GetFieldOffset(names::kRootComponent);
  fresh.Mesh = host::GetFieldOffset(names::kMesh);
  fresh.RelativeScale3D = host::GetFieldOffset(names::kRelativeScale3D);
  fresh.BaseDinoScale = host::GetFieldOffset(names::kBaseDinoScale);
  fresh.RiderFPVCameraOffset = host::GetFieldOffset(names::kRiderFPVCameraOffset);
  fresh.OwningPlayerID = host::GetFieldOffset(names::kOwningPlayerID);
  fresh.TamerString = host::GetFieldOffset(names::kTamerString);
  fresh.TamedName = host::GetFieldOffset(names::kTamedName);
  fresh.TargetingTeam = host::GetFieldOffset(names::kTargetingTeam);
  fresh.ChildProperties = host::GetFieldOffset(names::kChildProperties);
  fresh.PropertyNext = host::GetFieldOffset(names::kPropertyNext);
  fresh.PropertyNamePrivate = host::GetFieldOffset(names::kPropertyNamePrivate);
  fresh.PropertyElementSize = host::GetFieldOffset(names::kPropertyElementSize);
  fresh.PropertyOffsetInternal = host::GetFieldOffset(names::kPropertyOffsetInternal);

  fresh.bIsDead = host::GetBitFieldOffset(names::kIsDead);
  fresh.bActorIsBeingDestroyed = host::GetBitFieldOffset(names::kActorIsBeingDestroyed);
  fresh.bIsAdmin = host::GetBitFieldOffset(names::kIsAdmin);

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
  return Ask(creature_class, GameHandleTable().CreatureClass);
}

host::UClass* PlayerCharacterClassObject() {
  return Ask(player_character_class, GameHandleTable().PlayerCharacterClass);
}

std::vector<std::string> FunctionsShrinkingNeeds(const std::vector<std::string>& missing) {
  // Recognising a target (its class, its name, the tamed test), shrinking it, and keeping the
  // weak record through which it is put back.
  const GameHandles& game = GameHandleTable();
  const char* const needed[] = {game.CreatureClass.Name(), game.IsChildOf.Name(),
                                game.NameToString.Name(), game.SetActorRelativeScale3D.Name(),
                                game.GetUntamedTargetingTeam.Name(), game.WeakAssign.Name(),
                                game.WeakGet.Name(),
                                // Class names are read into the game's text buffers.
                                names::kMalloc.name, names::kRealloc.name, names::kFree.name};
  std::vector<std::string> result;
  for (const auto& name : missing)
    if (std::find(std::begin(needed), std::end(needed), name) != std::end(needed))
      result.push_back(name);
  return result;
}

}  // namespace tinyhorde
