// The chat command "/hordesize": a banner for everyone; the words of the command table's rows
// that have a chat handler (commands/command_table.h), each for whom its row's access allows.
#pragma once

#include <span>

#include "commands/command_table.h"
#include "host/types.h"

namespace tinyhorde {

// RunChatCommand over CommandTable(): what the host calls on the game thread.
void OnChatCommand(host::AShooterPlayerController* player, host::FString* message, int, int);

// The chat command over rows: a second word (any case) that is the word of a row with a chat
// handler runs that handler when the row's access lets player type it, and answers "Admin
// privileges required." otherwise; anything else shows the banner. A message from no player is
// ignored; a null message is an empty one. Nothing is thrown.
void RunChatCommand(std::span<const CommandRow> rows, host::AShooterPlayerController* player,
                    const host::FString* message);

// The chat handlers of the command table: "/hordesize reload", "/hordesize status" and
// "/hordesize resizeall" for an administrator, "/hordesize version" for every player. player
// must not be null. Nothing is thrown.
void OnChatReload(host::AShooterPlayerController* player);
void OnChatStatus(host::AShooterPlayerController* player);
void OnChatResizeAll(host::AShooterPlayerController* player);
void OnChatVersion(host::AShooterPlayerController* player);

}  // namespace tinyhorde
