// The chat command "/hordesize": a banner for everyone, "reload" and "resizeall" for
// administrators.
#pragma once

#include "host/types.h"

namespace tinyhorde {

void OnChatCommand(host::AShooterPlayerController* player, host::FString* message, int, int);

}  // namespace tinyhorde
