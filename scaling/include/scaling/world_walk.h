// Walks over every creature of a world: bringing them to what the settings say, putting the
// targets back at unload, and the one-line text of what went back to full size.
#pragma once

#include <functional>
#include <string>
#include <unordered_set>

#include "host/types.h"

namespace tinyhorde {

// What a walk over a world's creatures did. listed is false when the creatures could not be
// listed at all (error says why); failed counts creatures whose own step threw.
struct WalkResult {
  bool listed = true;
  std::string error;
  host::int32 done = 0;
  host::int32 failed = 0;
};

// Fills list with the creature actors of world, in the game's order. When the game cannot list
// them the failure is logged ("... to {what}: ...") and put in error, and the answer is false.
// Nothing is thrown.
bool ListCreatures(host::UWorld* world, const char* what, host::TArray<host::AActor*>& list,
                   std::string& error);

// Calls visit for every non-null creature actor of world, in the game's order; done counts the
// visits that answered true. The list's buffer is the plugin's and is released on every path. A
// failure to list the creatures ends the walk; a failure on one creature skips that creature
// only and is counted. Nothing is thrown.
template <typename Visit>
WalkResult VisitCreatures(host::UWorld* world, const char* what, Visit&& visit) {
  WalkResult result;
  host::TArray<host::AActor*> list;
  if (!ListCreatures(world, what, list, result.error)) {
    result.listed = false;
    return result;
  }
  for (host::AActor* actor : list) {
    if (actor == nullptr) continue;
    try {
      if (visit(reinterpret_cast<host::APrimalDinoCharacter*>(actor))) ++result.done;
    } catch (...) {
      ++result.failed;
    }
  }
  return result;
}

// What bringing a world to the settings did: done counts the creatures brought to their scale,
// restored those put back to full size.
struct SettleResult : WalkResult {
  host::int32 restored = 0;
};

// Brings every creature of world to the settings as they are now, in one pass that classifies
// each creature's class once: a creature that qualifies for shrinking (ApplyCreatureScale's
// checks) gets its scale and camera scale, left as it is when it already holds them; a living
// creature recorded as shrunk that no longer qualifies goes back to full size, camera offsets
// included, and leaves the record; every other creature is left alone, whatever its scale. While
// shrinking is off it only restores. label names the trigger in the debug lines. A null world
// does nothing.
SettleResult BringWorldToSettings(host::UWorld* world, const char* label);
// Puts every target creature of world (not null) back to scale 1.0, except those in skip; done
// counts the creatures restored, failed those whose writes did not all take.
WalkResult RestoreAllTargets(host::UWorld* world, const std::unordered_set<const void*>& skip = {});

// Puts back every creature the plugin shrank, then every other target of the current world when
// one is up, and logs how many went back and how many could not. Shut-down calls it. Never throws.
void RestoreForUnload();

// "[Tinyhorde] Restored <count> creature(s) that the settings no longer shrink."
std::string RestoredText(host::int32 count);

// What a load into a running world did, in one line: "[Tinyhorde] Loaded into a running world:
// <done> creature(s) at their scale, <restored> restored to scale 1.0." (and how many could not
// be brought to the settings, when any). Empty when the creatures could not be listed: that
// failure has its own line.
std::string LoadSummaryText(const SettleResult& result);

}  // namespace tinyhorde
