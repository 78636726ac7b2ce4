// Whether a creature counts as tamed: any one of six signs of ownership is enough. Any failure to
// read the creature answers false.
#pragma once

#include "host/types.h"

namespace tinyhorde {

// A targeting team of this or more counts as tamed by itself.
constexpr host::int32 kTamedTeamThreshold = 50000;

bool IsTamedCreature(host::APrimalDinoCharacter* creature);

}  // namespace tinyhorde
