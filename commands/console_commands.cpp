// The console commands. The host calls them on the game thread with the typed line; the caller
// is null when the line came from the server console itself, and then only the log hears back.
#include "commands/console_commands.h"

#include <string>

#include "base/contained.h"
#include "base/logger.h"
#include "commands/bulk_resize.h"
#include "commands/reload_reply.h"
#include "commands/reply.h"
#include "commands/set_scale_command.h"
#include "host/services.h"

namespace tinyhorde {

namespace {

// A console caller is a player's controller; the messenger takes the game's shooter controller.
host::AShooterPlayerController* AsPlayer(host::APlayerController* caller) {
  return reinterpret_cast<host::AShooterPlayerController*>(caller);
}

// The console resize-all, answered to caller (or only logged when there is none). note, when not
// empty, follows the answer as one more line, logged and sent in the answer's colour.
void ResizeAllAnswering(host::APlayerController* caller, const std::string& note) {
  Contained("Console resizeall", [caller, &note] {
    host::UWorld* world = host::CurrentWorld();
    if (world == nullptr) {
      // The value is stored all the same, so the note still holds.
      if (!note.empty()) LogInfo(note);
      if (caller != nullptr) ReplyToPlayer(AsPlayer(caller), kRefusalColour, kWorldNotLoaded, note);
      return;
    }
    const ResizeAnswer answer = ResizeAllForCommand(world, "CommandResizeAll");
    if (answer.succeeded)
      LogInfo(answer.logLine);
    else
      LogError(answer.logLine);
    if (!answer.restored.empty()) LogInfo(answer.restored);
    if (!note.empty()) LogInfo(note);
    if (caller == nullptr) return;
    const host::FLinearColor& colour = answer.succeeded ? kSuccessColour : kRefusalColour;
    ReplyToPlayer(AsPlayer(caller), colour, answer.reply, answer.restored);
    if (!note.empty()) ReplyToPlayer(AsPlayer(caller), colour, note);
  });
}

}  // namespace

void OnConsoleResizeAll(host::APlayerController* caller, host::FString* /*line*/, bool /*flag*/) {
  ResizeAllAnswering(caller, {});
}

void OnConsoleSetScale(host::APlayerController* caller, host::FString* line, bool /*flag*/) {
  bool accepted = false;
  std::string note;
  Contained("Console setscale", [&] {
    accepted = ApplySetScaleCommand(line, &note);
    if (!accepted && caller != nullptr)
      ReplyToPlayer(AsPlayer(caller), kRefusalColour, kSetScaleUsage);
  });
  // Guarded on its own: the resize answers for itself.
  if (accepted) ResizeAllAnswering(caller, note);
}

void OnConsoleReload(host::APlayerController* caller, host::FString* /*line*/, bool /*flag*/) {
  Contained("Console reload", [caller] {
    const ReloadReply reply = ReloadConfigForCommand("CommandReload");
    LogInfo(reply.text);
    if (!reply.restored.empty()) LogInfo(reply.restored);
    if (caller != nullptr)
      ReplyToPlayer(AsPlayer(caller), reply.loaded ? kSuccessColour : kRefusalColour, reply.text,
                    reply.restored);
  });
}

}  // namespace tinyhorde
