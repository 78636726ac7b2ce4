#include "selection/tamed_state.h"

#include "host/game.h"

namespace tinyhorde {

bool IsTamedCreature(host::APrimalDinoCharacter* creature) {
  if (creature == nullptr) return false;
  try {
    if (host::ReadFlag(creature, "APrimalDinoCharacter.bDidSetupTamed")) return true;
    const host::int32 team = host::Field<host::int32>(creature, "UPrimalActor.TargetingTeam");
    if (team >= kTamedTeamThreshold) return true;
    if (host::Field<host::int32>(creature, "APrimalDinoCharacter.OwningPlayerID") > 0) return true;
    // A name's element count includes its terminator: above 1 means at least one character.
    if (host::Field<host::FString>(creature, "APrimalDinoCharacter.TamerString").Num() > 1)
      return true;
    if (host::Field<host::FString>(creature, "APrimalDinoCharacter.TamedName").Num() > 1)
      return true;
    const auto untamed =
        host::CallGame<host::int32>("APrimalDinoCharacter.GetUntamedTargetingTeam()", creature);
    return team > 0 && untamed > 0 && team != untamed;
  } catch (...) {
    return false;
  }
}

}  // namespace tinyhorde
