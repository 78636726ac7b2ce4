// The "setscale" grammar shared by the console and RCON commands, and the word splitting that
// the chat command uses too. Game thread; callers must not hold SettingsMutex.
#pragma once

#include <string>
#include <string_view>

#include "host/types.h"

namespace tinyhorde {

inline constexpr const char* kSetScaleUsage =
    "Usage: hordesize.setscale <float> OR hordesize.setscale <creature> <float>";

// Splits a typed line on single spaces with empty pieces dropped (FString::ParseIntoArray with
// " "), so runs of spaces separate like one and leading or trailing spaces make no word. Tabs do
// not separate. The pieces are the caller's and are released with the array.
host::TArray<host::FString> SplitOnSpaces(const host::FString& line);

// Reads "<command> <float>" (sets the global scale) or "<command> <creature> <float> [...]"
// (inserts or overwrites that creature's scale; words after the number are ignored). The first
// word is not looked at. A value is accepted only within InScaleRange. Answers whether
// the line was accepted; a refused line changes nothing. A null line is refused.
//
// When an accepted creature form names a creature that ExcludedBlueprints excludes (an entry
// occurs in the name), the entry is stored all the same and, when note is given, *note gets the
// line that tells the owner so: "[Tinyhorde] ExcludedBlueprints excludes <key> (by its entry
// <entry>), so no creature of that name is resized."; otherwise *note is left empty.
bool ApplySetScaleCommand(const host::FString* line, std::string* note = nullptr);

// The decimal number at the start of text: leading ASCII white space skipped, an optional sign,
// then the longest prefix that forms a decimal number (digits with an optional '.' fraction, an
// optional exponent); the rest is ignored and no number at all reads as 0. Only decimals count:
// "inf", "nan" and hexadecimal numbers are no number ("0x1p-1" reads as its decimal prefix, 0).
// Values too large read as infinity and too small as 0, with the sign kept. The decimal point is
// '.' whatever the process locale: the global locale is never consulted.
double ReadLeadingNumber(std::string_view text);

}  // namespace tinyhorde
