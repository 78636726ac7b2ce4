#include "commands/chat_command.h"

#include "commands/console_commands.h"
#include "commands/reload_text.h"
#include "commands/reply.h"
#include "commands/tokens.h"
#include "config/load_config.h"
#include "host/game.h"

namespace tinyhorde {

namespace {

constexpr const char* kBanner =
    "[Tinyhorde] Active. Tamed super-large creatures are scaled to Rex size. Cryopod & SCS "
    "compatible.";
constexpr const char* kAdminRequired = "Admin privileges required.";

bool SameIgnoringCase(const host::FString& token, const char* keyword) {
  const host::FString word(keyword);
  return host::CallGame<int, const host::TCHAR*, const host::TCHAR*>(
             "FGenericPlatformStricmp.Stricmp(wchar_t*,wchar_t*)", *token, *word) == 0;
}

bool IsAdmin(host::AShooterPlayerController* player) {
  return host::ReadFlag(player, "APrimalPlayerController.bIsAdmin");
}

}  // namespace

void OnChatCommand(host::AShooterPlayerController* player, host::FString* message, int, int) {
  if (player == nullptr) return;
  if (message != nullptr) {
    const auto tokens = SplitOnSpaces(*message);
    if (tokens.Num() >= 2) {
      const host::FString subcommand(tokens[1]);
      if (SameIgnoringCase(subcommand, "reload")) {
        if (!IsAdmin(player)) {
          ReplyToPlayer(player, kRefusalColour, kAdminRequired);
        } else if (const auto outcome = LoadConfig(); outcome.status == ConfigLoadStatus::Loaded) {
          ReplyToPlayer(player, kSuccessColour, "[Tinyhorde] Config reloaded successfully.");
        } else {
          ReplyToPlayer(player, kRefusalColour, NotReloadedText(outcome));
        }
        return;
      }
      if (SameIgnoringCase(subcommand, "resizeall")) {
        if (IsAdmin(player)) {
          OnConsoleResizeAll(reinterpret_cast<host::APlayerController*>(player), nullptr, false);
        } else {
          ReplyToPlayer(player, kRefusalColour, kAdminRequired);
        }
        return;
      }
    }
  }
  ReplyToPlayer(player, kBannerColour, kBanner);
}

}  // namespace tinyhorde
