// Splitting a typed line into words: on single spaces, empty pieces dropped, so runs of spaces
// separate like one and leading or trailing spaces make no word. Tabs do not separate.
#pragma once

#include "host/types.h"

namespace tinyhorde {

host::TArray<host::FString> SplitOnSpaces(const host::FString& line);

}  // namespace tinyhorde
