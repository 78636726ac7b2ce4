// Putting a target creature back to scale 1.0 everywhere the plugin changes it, before the game
// stores, captures or destroys it. Any target qualifies: tamed or not, alive or not. Each write is
// guarded on its own, so one failure never keeps the others from being restored. Game thread;
// callers must not hold SettingsMutex.
#pragma once

#include "host/types.h"

namespace tinyhorde {

// False for a null creature or one that is not a target.
bool RestoreNormalScale(host::APrimalDinoCharacter* creature);

}  // namespace tinyhorde
