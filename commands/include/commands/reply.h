// Answering the one who typed a command: a player gets a coloured server message, an RCON
// client a reply to its request. Game thread. Both may throw when the host or the game lacks
// what they use; the command handlers catch that.
#pragma once

#include <exception>
#include <string>

#include "base/contained.h"
#include "host/types.h"

namespace tinyhorde {

inline constexpr host::FLinearColor kSuccessColour{0.0f, 1.0f, 0.0f, 1.0f};
inline constexpr host::FLinearColor kRefusalColour{1.0f, 0.0f, 0.0f, 1.0f};
inline constexpr host::FLinearColor kBannerColour{0.2f, 0.8f, 1.0f, 1.0f};

// What every resize-all answers while the server has no world.
inline constexpr const char* kWorldNotLoaded = "World not loaded.";

// Sends text (UTF-8) to player through the plugin's messenger. player must not be null; a host
// that gives no messenger makes this do nothing.
void ReplyToPlayer(host::AShooterPlayerController* player, const host::FLinearColor& colour,
                   const std::string& text);
// The same, then second as a message of its own in the same colour when it is not empty.
void ReplyToPlayer(host::AShooterPlayerController* player, const host::FLinearColor& colour,
                   const std::string& text, const std::string& second);

// Answers a console command: caller (a player's controller) gets text as one message; when the
// server console typed the command (caller is null), the log gets each line of text, as the
// server console reads the log.
void AnswerConsole(host::APlayerController* caller, const host::FLinearColor& colour,
                   const std::string& text);

// Answers packet's request on connection: text (UTF-8) under the packet's id, type 0. The
// message buffer is the plugin's and is released before this returns.
void ReplyToRcon(host::RCONClientConnection* connection, const host::RCONPacket* packet,
                 const std::string& text);

// Works out the reply text with make, then sends it once over RCON. When make throws, the
// failure is reported under command (as Contained does) and the client is told the command failed,
// so that it still gets its one answer; a failure to send is logged. Nothing is thrown.
template <typename Make>
void AnswerRcon(host::RCONClientConnection* connection, const host::RCONPacket* packet,
                const char* command, Make make) noexcept {
  if (connection == nullptr || packet == nullptr) return;
  std::string text;
  try {
    text = make();
  } catch (const std::exception& error) {
    ReportFailure(command, error.what());
    text = std::string("[Tinyhorde] Command failed: ") + error.what() + "\n";
  } catch (...) {
    ReportFailure(command, "unknown error");
    text = "[Tinyhorde] Command failed.\n";
  }
  Contained(command, [&] { ReplyToRcon(connection, packet, text); });
}

}  // namespace tinyhorde
