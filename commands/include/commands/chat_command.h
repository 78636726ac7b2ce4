// The chat command "/hordesize": a banner for everyone; the words of the command table's rows
// that have a chat handler (commands/command_table.h), for administrators, "version" for all.
#pragma once

#include "host/types.h"

namespace tinyhorde {

void OnChatCommand(host::AShooterPlayerController* player, host::FString* message, int, int);

// The chat handlers of the command table: "/hordesize reload", "/hordesize status" and
// "/hordesize resizeall" for an administrator, "/hordesize version" for every player. player
// must not be null. Nothing is thrown.
void OnChatReload(host::AShooterPlayerController* player);
void OnChatStatus(host::AShooterPlayerController* player);
void OnChatResizeAll(host::AShooterPlayerController* player);
void OnChatVersion(host::AShooterPlayerController* player);

}  // namespace tinyhorde
