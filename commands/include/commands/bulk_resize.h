// The resize-all command's answer: the world brought to the settings, and its one-line result
// texts.
#pragma once

#include <string>

#include "host/types.h"
#include "scaling/world_walk.h"

namespace tinyhorde {

// The answer to a resize-all command, which brings the world to the settings: refused while
// shrinking is off or when the creatures cannot be listed, otherwise the count. logLine adds what
// the log needs beyond the reply. restored is the RestoredText line when creatures went back to
// full size, else empty; it follows the reply, in its colour, and is logged at info on every
// channel.
struct ResizeAnswer {
  bool succeeded = false;
  std::string reply;
  std::string logLine;
  std::string restored;
};
ResizeAnswer ResizeAllForCommand(host::UWorld* world, const char* label);

// "[Tinyhorde] Resized <count> tamed super-large creature(s) to Rex scale."
std::string ResizeResultText(host::int32 count);

}  // namespace tinyhorde
