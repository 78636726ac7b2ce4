// The console commands. The host calls them on the game thread with the typed line; the caller
// is null when the line came from the server console itself, and then only the log hears back.
#include "commands/console_commands.h"

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

}  // namespace

void OnConsoleResizeAll(host::APlayerController* caller, host::FString* /*line*/, bool /*flag*/) {
  Contained("Console resizeall", [caller] {
    host::UWorld* world = host::CurrentWorld();
    if (world == nullptr) {
      if (caller != nullptr) ReplyToPlayer(AsPlayer(caller), kRefusalColour, kWorldNotLoaded);
      return;
    }
    const ResizeAnswer answer = ResizeAllForCommand(world, "CommandResizeAll");
    if (answer.succeeded)
      LogInfo(answer.logLine);
    else
      LogError(answer.logLine);
    if (!answer.restored.empty()) LogInfo(answer.restored);
    if (caller != nullptr)
      ReplyToPlayer(AsPlayer(caller), answer.succeeded ? kSuccessColour : kRefusalColour,
                    answer.reply, answer.restored);
  });
}

void OnConsoleSetScale(host::APlayerController* caller, host::FString* line, bool /*flag*/) {
  bool accepted = false;
  Contained("Console setscale", [&] {
    accepted = ApplySetScaleCommand(line);
    if (!accepted && caller != nullptr)
      ReplyToPlayer(AsPlayer(caller), kRefusalColour, kSetScaleUsage);
  });
  // Guarded on its own: the resize answers for itself.
  if (accepted) OnConsoleResizeAll(caller, nullptr, false);
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
