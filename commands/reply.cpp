#include "commands/reply.h"

#include <fmt/format.h>

#include "base/game_handles.h"
#include "base/logger.h"
#include "host/game.h"
#include "host/services.h"

namespace tinyhorde {

void ReplyToPlayer(host::AShooterPlayerController* player, const host::FLinearColor& colour,
                   const std::string& text) {
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
