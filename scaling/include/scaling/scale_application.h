// Shrinking one creature to its configured size: the only place a reduced scale is written.
// It checks everything itself (alive, and the creature's verdict: target, tamed when OnlyTamed is
// on, configured, shrinking allowed), so it may be called for any creature at any time; a
// creature that does not qualify is left untouched and the call answers false. Game thread;
// callers must not hold SettingsMutex.
#pragma once

#include "host/types.h"
#include "scaling/creature_verdict.h"

namespace tinyhorde {

// A root scale within this of the target on every axis counts as already at scale.
constexpr double kAtScaleTolerance = 0.005;

// How an application treats a creature that may already be at its scale.
enum class ApplyMode {
  // Skips a creature whose root scale is within kAtScaleTolerance of the target on every axis
  // (it still answers true).
  kUnlessAtScale,
  // Writes whatever the creature holds.
  kForce,
  // As kForce, except that a creature that already holds exactly what it would write (root, base
  // and mesh at the scale, its camera offsets last set at the camera scale) is left as it is and
  // still answers true: writing the same values again changes nothing in the game. With DebugLog
  // on every creature whose lines the budget holds is written, so that each gets its lines.
  kUnlessHeld,
};

// label names the trigger in the debug line.
bool ApplyCreatureScale(host::APrimalDinoCharacter* creature, const char* label, ApplyMode mode);
// The same with the creature's verdict for the event under way (JudgeCreature), for a caller
// that already holds it: the creature is neither classified nor asked its tamed state again.
bool ApplyCreatureScale(host::APrimalDinoCharacter* creature, const CreatureVerdict& verdict,
                        const char* label, ApplyMode mode);

}  // namespace tinyhorde
