#include "selection/tamed_state.h"

#include "base/game_handles.h"
#include "base/game_names_check.h"
#include "host/game.h"

namespace tinyhorde {

namespace feature = host::feature;

bool IsTamedCreature(host::APrimalDinoCharacter* creature) {
  if (creature == nullptr) return false;
  try {
    // A sign whose names the game lacks is skipped; the others decide.
    const GameHandles& game = GameHandleTable();
    const bool team_known = FeatureOn(feature::kTamedSignTeam);
    const host::int32 team =
        team_known ? host::FieldAt<host::int32>(creature, game.TargetingTeam) : 0;
    if (team_known && team >= kTamedTeamThreshold) return true;
    if (FeatureOn(feature::kTamedSignOwner) &&
        host::FieldAt<host::int32>(creature, game.OwningPlayerID) > 0)
      return true;
    // A name's element count includes its terminator: above 1 means at least one character.
    if (FeatureOn(feature::kTamedSignTamer) &&
        host::FieldAt<host::FString>(creature, game.TamerString).Num() > 1)
      return true;
    if (FeatureOn(feature::kTamedSignName) &&
        host::FieldAt<host::FString>(creature, game.TamedName).Num() > 1)
      return true;
    if (!FeatureOn(feature::kTamedSignUntamedTeam)) return false;
    const auto untamed = game.GetUntamedTargetingTeam(creature);
    return team > 0 && untamed > 0 && team != untamed;
  } catch (...) {
    return false;
  }
}

}  // namespace tinyhorde
