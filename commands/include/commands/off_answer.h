// The one answer every command that would resize, restore or reload gives while Tinyhorde is off
// (the game lacks a name it needs; base/game_names_check.h): "[Tinyhorde] Off: the game lacks
// ...", in red, changing nothing. Game thread; nothing is thrown.
#pragma once

#include "host/types.h"

namespace tinyhorde {

// To a console caller, or to the log when the line came from the server console.
void AnswerConsoleWhileOff(host::APlayerController* caller) noexcept;
// To an RCON client, with its line feed.
void AnswerRconWhileOff(host::RCONClientConnection* connection,
                        const host::RCONPacket* packet) noexcept;
// To a player in the chat.
void AnswerChatWhileOff(host::AShooterPlayerController* player) noexcept;

}  // namespace tinyhorde
