#include "commands/reply.h"

#include <fmt/format.h>

#include "base/game_handles.h"
#include "base/game_names_check.h"
#include "base/logger.h"
#include "host/game.h"
#include "host/services.h"

namespace tinyhorde {

void ReplyToPlayer(host::AShooterPlayerController* player, const host::FLinearColor& colour,
                   const std::string& text) {
  // The host's messaging looks two game names up by itself, unchecked: a game that lacks either
  // would stop the server at the first message. The log gets the text instead.
  if (IsAbsentGameName(host::game_names::kFStringFromNarrow) ||
      IsAbsentGameName(host::game_names::kClientServerChatDirectMessage)) {
    LogInfo(text);
    return;
  }
  const auto messenger = host::GetMessenger();
  if (messenger == nullptr) return;
  messenger->SendPlayerMessage(player, colour, host::FString(text.c_str()));
}

void ReplyToPlayer(host::AShooterPlayerController* player, const host::FLinearColor& colour,
                   const std::string& text, const std::string& second) {
  ReplyToPlayer(player, colour, text);
  if (!second.empty()) ReplyToPlayer(player, colour, second);
}

void ReplyToRcon(host::RCONClientConnection* connection, const host::RCONPacket* packet,
                 const std::string& text) {
  host::FString message(text.c_str());
  GameHandleTable().SendRconMessage(connection, packet->Id, 0, &message);
}

}  // namespace tinyhorde
