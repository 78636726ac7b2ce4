// Answering a player (a coloured server message) or an RCON request (under its id, type 0).
#pragma once

#include <string>

#include "host/types.h"

namespace tinyhorde {

inline constexpr host::FLinearColor kSuccessColour{0, 1, 0, 1};
inline constexpr host::FLinearColor kRefusalColour{1, 0, 0, 1};
inline constexpr host::FLinearColor kBannerColour{0.2f, 0.8f, 1.0f, 1.0f};

void ReplyToPlayer(host::AShooterPlayerController* player, const host::FLinearColor& colour,
                   const std::string& text);
void ReplyToRcon(host::RCONClientConnection* connection, const host::RCONPacket* packet,
                 const std::string& text);

}  // namespace tinyhorde
