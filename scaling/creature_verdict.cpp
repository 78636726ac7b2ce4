#include "scaling/creature_verdict.h"

#include "config/plugin_settings.h"
#include "scaling/shrink_gate.h"

namespace tinyhorde {

CreatureVerdict JudgeClassOf(host::APrimalDinoCharacter* creature) {
  // One return, and the class verdict made in place: this runs for every creature a save puts
  // back, so nothing is copied twice.
  CreatureVerdict verdict{.class_verdict =
                              creature != nullptr ? ClassifyCreature(creature) : ClassVerdict{}};
  if (verdict.class_verdict.target) {
    verdict.only_tamed = OnlyTamedSetting();
    verdict.shrinking_allowed = ShrinkingAllowed();
  }
  return verdict;
}

}  // namespace tinyhorde
