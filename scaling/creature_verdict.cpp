#include "scaling/creature_verdict.h"

#include "config/plugin_settings.h"
#include "scaling/shrink_gate.h"

namespace tinyhorde {

CreatureVerdict JudgeClassOf(host::APrimalDinoCharacter* creature) {
  if (creature == nullptr) return {};
  CreatureVerdict verdict;
  verdict.class_verdict = ClassifyCreature(creature);
  if (!verdict.class_verdict.target) return verdict;
  verdict.only_tamed = OnlyTamedSetting();
  verdict.shrinking_allowed = ShrinkingAllowed();
  return verdict;
}

CreatureVerdict JudgeCreature(host::APrimalDinoCharacter* creature, AskTamed ask) {
  CreatureVerdict verdict = JudgeClassOf(creature);
  JudgeTamedState(creature, verdict, ask);
  return verdict;
}

}  // namespace tinyhorde
