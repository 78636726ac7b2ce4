#include "commands/version_command.h"

#include "base/contained.h"
#include "base/version.h"
#include "commands/reply.h"

namespace tinyhorde {

std::string VersionText() {
  return std::string("[Tinyhorde] Tinyhorde ") + kTinyhordeVersion + ".";
}

void OnConsoleVersion(host::APlayerController* caller, host::FString* /*line*/, bool /*flag*/) {
  Contained("Console version", [caller] { AnswerConsole(caller, kSuccessColour, VersionText()); });
}

void OnRconVersion(host::RCONClientConnection* connection, host::RCONPacket* packet,
                   host::UWorld* /*world*/) {
  AnswerRcon(connection, packet, "RCON version", [] { return VersionText() + "\n"; });
}

}  // namespace tinyhorde
