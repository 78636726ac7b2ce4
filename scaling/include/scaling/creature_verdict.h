// Whether a creature qualifies for shrinking now, and with which scales: worked out once per
// creature per event (a detour's call, one creature of a walk, one timer) and handed to whatever
// acts on the creature during that event, so that its class is classified and its tamed state
// asked at most once. Game thread; callers must not hold SettingsMutex.
#pragma once

#include "host/types.h"
#include "selection/creature_classification.h"
#include "selection/tamed_state.h"

namespace tinyhorde {

// When a target is asked whether it is tamed: only when OnlyTamed makes it matter, or always (for
// a caller that acts on the tamed state itself).
enum class AskTamed { kWhenOnlyTamed, kAlways };

struct CreatureVerdict {
  ClassVerdict class_verdict;  // the class's verdict: target, scales, name
  // What the verdict was worked out under; read once, for a target only (false otherwise).
  bool only_tamed = false;         // OnlyTamed
  bool shrinking_allowed = false;  // shrinking is safe (scaling/shrink_gate.h)
  // The creature's own part, for a target only: its tamed state when it was asked (false when
  // not), and whether it passes the tamed gate (OnlyTamed off, or tamed).
  bool tamed = false;
  bool passes_tamed_gate = false;

  bool Target() const { return class_verdict.target; }
  // A target the settings pick. Whether shrinking is safe does not enter.
  bool Selected() const { return class_verdict.target && passes_tamed_gate; }
  // A selected target while shrinking is safe: it gets Scale() and CameraScale(). Its life (dead,
  // being destroyed) does not enter: the application checks that itself.
  bool Qualifies() const { return Selected() && shrinking_allowed; }
  double Scale() const { return class_verdict.scale; }
  double CameraScale() const { return class_verdict.camera_scale; }
};

// The part of the verdict on a creature that its class and the settings decide; its own tamed
// state is not asked yet. Null gets a verdict that selects nothing.
CreatureVerdict JudgeClassOf(host::APrimalDinoCharacter* creature);

// Completes a verdict from JudgeClassOf with the creature's tamed state, asked only for a target
// and as ask says. A walk over a world completes one verdict per class for each of its creatures
// in turn. Never throws (an unreadable creature counts as untamed).
inline void JudgeTamedState(host::APrimalDinoCharacter* creature, CreatureVerdict& verdict,
                            AskTamed ask = AskTamed::kWhenOnlyTamed) {
  const bool target = verdict.class_verdict.target;
  verdict.tamed =
      target && (verdict.only_tamed || ask == AskTamed::kAlways) && IsTamedCreature(creature);
  verdict.passes_tamed_gate = target && (!verdict.only_tamed || verdict.tamed);
}

// The whole verdict on a creature now.
inline CreatureVerdict JudgeCreature(host::APrimalDinoCharacter* creature,
                                     AskTamed ask = AskTamed::kWhenOnlyTamed) {
  CreatureVerdict verdict = JudgeClassOf(creature);
  JudgeTamedState(creature, verdict, ask);
  return verdict;
}

}  // namespace tinyhorde
