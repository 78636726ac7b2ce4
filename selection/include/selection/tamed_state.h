// Whether a creature counts as tamed: any one sign of ownership is enough (a tamed team, an owning
// player, a tamer's or a tamed name, a team other than its untamed one). The game's own tamed
// set-up flag is not read: the current game has no name for it, and asking would stop the server.
// Any failure to read the creature answers false.
#pragma once

#include "host/types.h"

namespace tinyhorde {

// A targeting team of this or more counts as tamed by itself.
constexpr host::int32 kTamedTeamThreshold = 50000;

bool IsTamedCreature(host::APrimalDinoCharacter* creature);

}  // namespace tinyhorde
