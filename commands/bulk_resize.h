// Resizing every target creature of a world at once, and the one-line result text.
#pragma once

#include <string>

#include "host/types.h"

namespace tinyhorde {

// Applies the configured scale (force on) to every target creature of world that passes the
// tamed gate; answers how many were applied. world must not be null.
host::int32 ResizeAllTargets(host::UWorld* world, const char* label);
// Puts every target creature of world back to scale 1.0; answers how many were restored.
host::int32 RestoreAllTargets(host::UWorld* world);

// "[Tinyhorde] Resized <count> tamed super-large creature(s) to Rex scale."
std::string ResizeResultText(host::int32 count);

}  // namespace tinyhorde
