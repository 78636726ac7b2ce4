// The RCON commands. The host calls them on the game thread with the request; each sends
// exactly one reply under the request's id, ending in a line feed. The world argument is not
// used: the current world is asked for instead, as the console commands do.
#include "commands/rcon_commands.h"

#include <exception>
#include <string>

#include "base/logger.h"
#include "commands/bulk_resize.h"
#include "commands/reload_reply.h"
#include "commands/reply.h"
#include "commands/set_scale_command.h"
#include "host/services.h"

namespace tinyhorde {

namespace {

// The reply text with its line feed, then the restored line with its own, logged, when there
// is one.
std::string WithRestoredLine(const std::string& text, const std::string& restored) {
  if (restored.empty()) return text + "\n";
  LogInfo(restored);
  return text + "\n" + restored + "\n";
}

std::string ResizeAllReply() {
  host::UWorld* world = host::CurrentWorld();
  if (world == nullptr) return std::string(kWorldNotLoaded) + "\n";
  const ResizeAnswer answer = ResizeAllForCommand(world, "RconResizeAll");
  // Only creatures that could not be resized are worth a line; the client has the rest.
  if (answer.succeeded && answer.logLine != answer.reply) LogError(answer.logLine);
  return WithRestoredLine(answer.reply, answer.restored);
}

}  // namespace

void OnRconResizeAll(host::RCONClientConnection* connection, host::RCONPacket* packet,
                     host::UWorld* /*world*/) {
  AnswerRcon(connection, packet, "RCON resizeall", [] { return ResizeAllReply(); });
}

void OnRconSetScale(host::RCONClientConnection* connection, host::RCONPacket* packet,
                    host::UWorld* /*world*/) {
  AnswerRcon(connection, packet, "RCON setscale", [packet] {
    // The body stays the host's; the words are read from the plugin's own copy.
    const host::FString body(packet->Body);
    std::string note;
    if (!ApplySetScaleCommand(&body, &note)) return std::string(kSetScaleUsage) + "\n";
    return note.empty() ? ResizeAllReply() : ResizeAllReply() + note + "\n";
  });
}

void OnRconReload(host::RCONClientConnection* connection, host::RCONPacket* packet,
                  host::UWorld* /*world*/) {
  AnswerRcon(connection, packet, "RCON reload", [] {
    const ReloadReply reply = ReloadConfigForCommand("RconReload");
    return WithRestoredLine(reply.text, reply.restored);
  });
}

}  // namespace tinyhorde
