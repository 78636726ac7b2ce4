#include "commands/rcon_commands.h"

#include "commands/bulk_resize.h"
#include "commands/reload_text.h"
#include "commands/reply.h"
#include "commands/set_scale_command.h"
#include "config/load_config.h"
#include "host/services.h"

namespace tinyhorde {

// The world argument is not used: the walk takes the host's current world, as the console does.
void OnRconResizeAll(host::RCONClientConnection* connection, host::RCONPacket* packet,
                     host::UWorld*) {
  host::UWorld* world = host::CurrentWorld();
  if (world == nullptr) {
    ReplyToRcon(connection, packet, "World not loaded.\n");
    return;
  }
  ReplyToRcon(connection, packet,
              ResizeResultText(ResizeAllTargets(world, "RconResizeAll")) + "\n");
}

void OnRconSetScale(host::RCONClientConnection* connection, host::RCONPacket* packet,
                    host::UWorld*) {
  const host::FString body(packet->Body);
  if (ApplySetScaleCommand(&body)) {
    OnRconResizeAll(connection, packet, nullptr);
  } else {
    ReplyToRcon(connection, packet, std::string(kSetScaleUsage) + "\n");
  }
}

void OnRconReload(host::RCONClientConnection* connection, host::RCONPacket* packet, host::UWorld*) {
  const ConfigLoadOutcome outcome = LoadConfig();
  const std::string text =
      outcome.status == ConfigLoadStatus::Loaded ? ReloadedText() : NotReloadedText(outcome);
  ReplyToRcon(connection, packet, text + "\n");
}

}  // namespace tinyhorde
