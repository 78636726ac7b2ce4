// Whether a creature counts as tamed: any one sign of ownership is enough (the tamed set-up flag,
// a tamed team, an owning player, a tamer's or a tamed name, a team other than its untamed one).
// Any failure to read the creature answers false.
#pragma once

#include "host/types.h"

namespace tinyhorde {

// A targeting team of this or more counts as tamed by itself.
constexpr host::int32 kTamedTeamThreshold = 50000;

bool IsTamedCreature(host::APrimalDinoCharacter* creature);

}  // namespace tinyhorde
