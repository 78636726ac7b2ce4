#include "commands/reply.h"

#include <cstddef>

#include <fmt/format.h>

#include "base/game_handles.h"
#include "base/game_names_check.h"
#include "base/logger.h"
#include "host/game.h"
#include "host/services.h"

namespace tinyhorde {

void ReplyToPlayer(host::AShooterPlayerController* player, const host::FLinearColor& colour,
                   const std::string& text) {
  // The host's messaging looks its game names up by itself, unchecked: a game that lacks one would
  // stop the server at the first message. The log gets the text instead.
  if (!FeatureOn(host::feature::kPlayerReplies)) {
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

void AnswerConsole(host::APlayerController* caller, const host::FLinearColor& colour,
                   const std::string& text) {
  if (caller != nullptr) {
    ReplyToPlayer(reinterpret_cast<host::AShooterPlayerController*>(caller), colour, text);
    return;
  }
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    LogInfo(text.substr(start, end - start));
  LogInfo(text.substr(start));
}

void ReplyToRcon(host::RCONClientConnection* connection, const host::RCONPacket* packet,
                 const std::string& text) {
  host::FString message(text.c_str());
  GameHandleTable().SendRconMessage(connection, packet->Id, 0, &message);
}

}  // namespace tinyhorde
