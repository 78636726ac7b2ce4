// The console commands "hordesize.resizeall", "hordesize.setscale", "hordesize.reload" (and their
// "bigfit." aliases). Called by the host on the game thread; the caller may be null.
#pragma once

#include <string>

#include "host/types.h"

namespace tinyhorde {

void OnConsoleResizeAll(host::APlayerController* caller, host::FString* line, bool flag);
void OnConsoleSetScale(host::APlayerController* caller, host::FString* line, bool flag);
void OnConsoleReload(host::APlayerController* caller, host::FString* line, bool flag);

}  // namespace tinyhorde
