// The "setscale" grammar shared by the console and RCON: one argument sets the global scale, two
// set one creature's scale. Values must lie strictly between 0.01 and 10.
#pragma once

#include <string>

#include "host/types.h"

namespace tinyhorde {

inline constexpr const char* kSetScaleUsage =
    "Usage: hordesize.setscale <float> OR hordesize.setscale <creature> <float>";

// Answers whether the line was accepted; on acceptance the new value is stored.
bool ApplySetScaleCommand(const host::FString* line);

// The number at the start of text, read as the C library's string-to-double does (leading white
// space skipped, the longest numeric prefix taken, the rest ignored; no number reads as 0), with
// '.' as the decimal point whatever the process locale.
double ReadLeadingNumber(const std::string& text);

}  // namespace tinyhorde
