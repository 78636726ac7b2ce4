// Resizing every target creature of a world at once, and the one-line result texts.
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

// Applies the configured scale (force on) to every target creature of world that passes the
// tamed gate; done counts the creatures applied. world must not be null.
WalkResult ResizeAllTargets(host::UWorld* world, const char* label);
// Puts every target creature of world back to scale 1.0, except those in skip; done counts the
// creatures restored.
WalkResult RestoreAllTargets(host::UWorld* world, const std::unordered_set<const void*>& skip = {});

// The answer to a resize-all command: refused while shrinking is off or when the creatures
// cannot be listed, otherwise the count. logLine adds what the log needs beyond the reply.
struct ResizeAnswer {
  bool succeeded = false;
  std::string reply;
  std::string logLine;
};
ResizeAnswer ResizeAllForCommand(host::UWorld* world, const char* label);

// "[Tinyhorde] Resized <count> tamed super-large creature(s) to Rex scale."
std::string ResizeResultText(host::int32 count);

}  // namespace tinyhorde
