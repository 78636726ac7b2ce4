// The chat command "/hordesize". The host calls it on the game thread with the whole message.
// "reload", "resizeall" and "status" (any case, as the second word) are for administrators;
// anything else shows the banner. A message from no player is ignored.
#include "commands/chat_command.h"

#include "base/contained.h"
#include "base/game_handles.h"
#include "base/logger.h"
#include "commands/console_commands.h"
#include "commands/reload_reply.h"
#include "commands/reply.h"
#include "commands/set_scale_command.h"
#include "commands/status_command.h"
#include "config/load_config.h"
#include "host/game.h"

namespace tinyhorde {

namespace {

constexpr const char* kBanner =
    "[Tinyhorde] Active. Tamed super-large creatures are scaled to Rex size. Cryopod & SCS "
    "compatible.";
constexpr const char* kAdminRequired = "Admin privileges required.";

// The game's case-insensitive comparison; true when word equals keyword.
bool SameWordIgnoringCase(const host::FString& word, const char* keyword) {
  const host::FString wanted(keyword);
  return GameHandleTable().Stricmp(*word, *wanted) == 0;
}

bool IsAdmin(host::AShooterPlayerController* player) {
  return host::IsFlagSetIn(player, GameHandleTable().bIsAdmin);
}

void Reload(host::AShooterPlayerController* player) {
  if (!IsAdmin(player)) {
    ReplyToPlayer(player, kRefusalColour, kAdminRequired);
    return;
  }
  const ReloadReply reply = ReloadConfigForCommand("ChatReload");
  if (!reply.loaded) {
    ReplyToPlayer(player, kRefusalColour, reply.text);
    return;
  }
  if (!reply.restored.empty()) LogInfo(reply.restored);
  ReplyToPlayer(player, kSuccessColour, "[Tinyhorde] Config reloaded successfully.",
                reply.restored);
}

}  // namespace

void OnChatCommand(host::AShooterPlayerController* player, host::FString* message, int, int) {
  if (player == nullptr) return;
  bool resize_all = false;
  Contained("Chat /hordesize", [&] {
    const host::TArray<host::FString> tokens =
        message != nullptr ? SplitOnSpaces(*message) : host::TArray<host::FString>();
    if (tokens.Num() >= 2 && SameWordIgnoringCase(tokens[1], "reload")) {
      Reload(player);
      return;
    }
    if (tokens.Num() >= 2 && SameWordIgnoringCase(tokens[1], "status")) {
      if (IsAdmin(player))
        ReplyToPlayer(player, kSuccessColour, StatusText());
      else
        ReplyToPlayer(player, kRefusalColour, kAdminRequired);
      return;
    }
    if (tokens.Num() >= 2 && SameWordIgnoringCase(tokens[1], "resizeall")) {
      if (IsAdmin(player))
        resize_all = true;
      else
        ReplyToPlayer(player, kRefusalColour, kAdminRequired);
      return;
    }
    ReplyToPlayer(player, kBannerColour, kBanner);
  });
  // Outside the guard above: the console command answers (and guards) for itself.
  if (resize_all)
    OnConsoleResizeAll(reinterpret_cast<host::APlayerController*>(player), nullptr, false);
}

}  // namespace tinyhorde
