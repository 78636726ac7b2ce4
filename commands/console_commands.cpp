#include "commands/console_commands.h"

#include "commands/bulk_resize.h"
#include "commands/reload_text.h"
#include "commands/reply.h"
#include "commands/set_scale_command.h"
#include "config/load_config.h"
#include "host/services.h"
#include "plugin/logger.h"

namespace tinyhorde {

namespace {

// A console caller is the typing player's controller, which is a shooter player controller.
host::AShooterPlayerController* Player(host::APlayerController* caller) {
  return reinterpret_cast<host::AShooterPlayerController*>(caller);
}

}  // namespace

void OnConsoleResizeAll(host::APlayerController* caller, host::FString*, bool) {
  host::UWorld* world = host::CurrentWorld();
  if (world == nullptr) {
    if (caller != nullptr) ReplyToPlayer(Player(caller), kRefusalColour, "World not loaded.");
    return;
  }
  const std::string text = ResizeResultText(ResizeAllTargets(world, "CommandResizeAll"));
  LogInfo(text);
  if (caller != nullptr) ReplyToPlayer(Player(caller), kSuccessColour, text);
}

void OnConsoleSetScale(host::APlayerController* caller, host::FString* line, bool) {
  if (ApplySetScaleCommand(line)) {
    OnConsoleResizeAll(caller, nullptr, false);
    return;
  }
  if (caller != nullptr) ReplyToPlayer(Player(caller), kRefusalColour, kSetScaleUsage);
}

void OnConsoleReload(host::APlayerController* caller, host::FString*, bool) {
  const ConfigLoadOutcome outcome = LoadConfig();
  const bool loaded = outcome.status == ConfigLoadStatus::Loaded;
  const std::string text = loaded ? ReloadedText() : NotReloadedText(outcome);
  LogInfo(text);
  if (caller != nullptr)
    ReplyToPlayer(Player(caller), loaded ? kSuccessColour : kRefusalColour, text);
}

}  // namespace tinyhorde
