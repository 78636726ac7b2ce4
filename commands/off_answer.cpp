#include "commands/off_answer.h"

#include "base/contained.h"
#include "base/game_names_check.h"
#include "commands/reply.h"

namespace tinyhorde {

void AnswerConsoleWhileOff(host::APlayerController* caller) noexcept {
  Contained("Console command", [caller] { AnswerConsole(caller, kRefusalColour, OffReply()); });
}

void AnswerRconWhileOff(host::RCONClientConnection* connection,
                        const host::RCONPacket* packet) noexcept {
  AnswerRcon(connection, packet, "RCON command", [] { return OffReply() + "\n"; });
}

void AnswerChatWhileOff(host::AShooterPlayerController* player) noexcept {
  Contained("Chat /hordesize", [player] { ReplyToPlayer(player, kRefusalColour, OffReply()); });
}

}  // namespace tinyhorde
