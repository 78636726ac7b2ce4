#include "selection/tamed_state.h"

#include "base/game_handles.h"
#include "host/game.h"

namespace tinyhorde {

bool IsTamedCreature(host::APrimalDinoCharacter* creature) {
  if (creature == nullptr) return false;
  try {
    const GameHandles& game = GameHandleTable();
    const host::int32 team = host::FieldAt<host::int32>(creature, game.TargetingTeam);
    if (team >= kTamedTeamThreshold) return true;
    if (host::FieldAt<host::int32>(creature, game.OwningPlayerID) > 0) return true;
    // A name's element count includes its terminator: above 1 means at least one character.
    if (host::FieldAt<host::FString>(creature, game.TamerString).Num() > 1) return true;
    if (host::FieldAt<host::FString>(creature, game.TamedName).Num() > 1) return true;
    const auto untamed = game.GetUntamedTargetingTeam(creature);
    return team > 0 && untamed > 0 && team != untamed;
  } catch (...) {
    return false;
  }
}

}  // namespace tinyhorde
