// Putting creatures back to scale 1.0 everywhere the plugin changes them: actor, BaseDinoScale,
// root and mesh scales, and the rider camera offsets. Each write is guarded on its own, so one
// failure never keeps the others from being restored. Game thread; callers must not hold
// SettingsMutex or CameraStoreMutex.
//
// Which one to call:
// - RestoreNormalScale: before the game stores, captures or destroys a creature, and whenever a
//   creature stops qualifying; it decides itself whether the creature is the plugin's to restore.
// - RestoreNormalScaleAlways: the caller has decided the creature goes back, whatever it is.
// - RestoreIfRecordedShrunk: a walk over the world that should touch only what the plugin shrank.
// - RestoreRecordedCreatures: everything the plugin shrank, with or without a world.
#pragma once

#include <unordered_set>

#include "host/types.h"

namespace tinyhorde {

// Accepts any character pointer, null included. Puts the creature back when the plugin recorded
// it as shrunk (even if the settings no longer name it) or when it is a target creature, tamed or
// not, alive or not. Answers whether it was one of those; a write that did not take is not
// reported here (the creature then stays recorded).
bool RestoreNormalScale(host::APrimalDinoCharacter* creature);

// Puts any creature back to full size, target or not, and drops it from the record of shrunk
// creatures once every write took. Answers whether every write took (false for null).
bool RestoreNormalScaleAlways(host::APrimalDinoCharacter* creature);

// Puts back a living creature recorded as shrunk, as RestoreNormalScaleAlways does, with a single
// look-up of the record serving both the test and the mark. A creature not recorded, or dead, is
// left as it is (a dead one stays recorded). debug is RestoreDebugLinesWanted(), read once by
// the caller for its whole walk; with it, each creature put back takes its detail lines from the
// budget. Answers false when nothing was to be done; raises
// std::runtime_error when a write did not take (the creature stays recorded).
bool RestoreIfRecordedShrunk(host::APrimalDinoCharacter* creature, bool debug);

// Whether a restore writes its debug line: DebugLog is on and the logger exists.
bool RestoreDebugLinesWanted();

// Puts back every recorded creature that still exists. restored holds those put back; failed
// counts those that stay recorded, all of them when the record could not be read.
struct RestoreTally {
  std::unordered_set<const void*> restored;
  int failed = 0;
};
RestoreTally RestoreRecordedCreatures();

}  // namespace tinyhorde
