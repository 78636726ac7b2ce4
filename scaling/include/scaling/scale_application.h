// Shrinking one creature to its configured size: the only place a reduced scale is written.
// It checks everything itself (alive, target, tamed when OnlyTamed is on, configured, shrinking
// allowed), so it may be called for any creature at any time; a creature that does not qualify
// is left untouched and the call answers false. Game thread; callers must not hold SettingsMutex.
#pragma once

#include "host/types.h"
#include "selection/creature_classification.h"

namespace tinyhorde {

// A root scale within this of the target on every axis counts as already at scale.
constexpr double kAtScaleTolerance = 0.005;

// label names the trigger in the debug line; force skips the already-at-scale test.
bool ApplyCreatureScale(host::APrimalDinoCharacter* creature, const char* label, bool force);
// The same with the creature's class verdict, for a caller that already holds it.
bool ApplyCreatureScale(host::APrimalDinoCharacter* creature, const ClassVerdict& verdict,
                        const char* label, bool force);
// As a forced application, except that a creature that already holds exactly what it would
// write (root, base and mesh at the scale, its camera offsets last set at the camera scale) is
// left as it is and still answers true: writing the same values again changes nothing in the
// game. With DebugLog on every creature is written, so that each gets its line.
bool ApplyCreatureScaleUnlessHeld(host::APrimalDinoCharacter* creature, const ClassVerdict& verdict,
                                  const char* label);

}  // namespace tinyhorde
