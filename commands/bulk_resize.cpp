#include "commands/bulk_resize.h"

#include <fmt/format.h>

#include "scaling/shrink_gate.h"
#include "scaling/world_walk.h"

namespace tinyhorde {

ResizeAnswer ResizeAllForCommand(host::UWorld* world, const char* label) {
  // Read before the walk: the walk only restores while shrinking is off.
  const bool shrinking = ShrinkingAllowed();
  const SettleResult result = BringWorldToSettings(world, label);
  if (!result.listed) {
    const std::string text = "[Tinyhorde] Resize failed: " + result.error;
    return {false, text, text, {}};
  }
  const std::string restored = result.restored > 0 ? RestoredText(result.restored) : "";
  const std::string text = shrinking
                               ? ResizeResultText(result.done)
                               : "[Tinyhorde] Shrinking is off: " + ShrinkingOffReason() + ".";
  const std::string log_line =
      result.failed == 0 ? text : fmt::format("{} {} could not be resized.", text, result.failed);
  return {shrinking, text, log_line, restored};
}

std::string ResizeResultText(host::int32 count) {
  return "[Tinyhorde] Resized " + std::to_string(count) +
         " tamed super-large creature(s) to Rex scale.";
}

}  // namespace tinyhorde
