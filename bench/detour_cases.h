// The per-detour cases: each hooked game function, called through its hook's entry, and the
// kinds of subject its game function takes (creature-only functions never get a player).
#pragma once

#include <vector>

#include "detour_world.h"

namespace bench {

// Calls the case's hook entry once on one subject.
using Call = void (*)(DetourWorld&, const CallSubject&);

struct DetourCase {
  const char* name;
  sim::Hook hook;  // the hook whose entry the case calls
  std::vector<Subject> subjects;
  Call call;
  // BeginPlay meets a creature as the game built it, before anything shrank it.
  Preparation target_preparation = Preparation::kAtScale;
};

// Every hooked function once; TakeDamage and DinoTakeDamage twice (an ordinary causer, and a
// capture tool that makes the plugin restore the creature), Serialize twice (a saving and a
// loading archive). A hook of the game without a case fails the bench's own tests.
const std::vector<DetourCase>& DetourCases();

}  // namespace bench
