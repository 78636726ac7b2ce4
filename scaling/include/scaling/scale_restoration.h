// Putting a target creature back to scale 1.0 everywhere the plugin changes it, before the game
// stores, captures or destroys it. Any target qualifies: tamed or not, alive or not. Each write is
// guarded on its own, so one failure never keeps the others from being restored. Game thread;
// callers must not hold SettingsMutex.
#pragma once

#include "host/types.h"

namespace tinyhorde {

// False for a null creature or one that is not a target.
bool RestoreNormalScale(host::APrimalDinoCharacter* creature);

// Puts any creature back to full size, target or not, and drops it from the record of shrunk
// creatures once every write took. Answers whether every write took (false for null).
bool RestoreCreatureScale(host::APrimalDinoCharacter* creature);

// Puts back a living creature recorded as shrunk, as RestoreCreatureScale does, with a single
// look-up of the record serving both the test and the mark. A creature not recorded, or dead, is
// left as it is (a dead one stays recorded). Answers false when nothing was to be done; raises
// std::runtime_error when a write did not take (the creature stays recorded).
bool RestoreIfRecordedShrunk(host::APrimalDinoCharacter* creature);

// Puts back a creature the plugin recorded as shrunk, or else a target creature; what storage
// detours call before the game stores a creature.
void RestoreBeforeStorage(const void* creature);

// Puts back every recorded creature that still exists, with or without a world.
struct RestoreTally {
  int restored = 0;
  int failed = 0;
};
RestoreTally RestoreRecordedCreatures();

}  // namespace tinyhorde
