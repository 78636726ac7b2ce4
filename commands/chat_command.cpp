// The chat command "/hordesize". The host calls it on the game thread with the whole message.
// A second word (any case) that is the word of a command table row with a chat handler runs that
// handler for whom the row's access allows; anything else shows the banner. A message from no
// player is ignored.
#include "commands/chat_command.h"

#include <span>

#include "base/contained.h"
#include "base/game_handles.h"
#include "base/game_names_check.h"
#include "base/logger.h"
#include "commands/command_table.h"
#include "commands/console_commands.h"
#include "commands/off_answer.h"
#include "commands/reload_reply.h"
#include "commands/reply.h"
#include "commands/set_scale_command.h"
#include "commands/status_command.h"
#include "commands/version_command.h"
#include "config/load_config.h"
#include "host/game.h"

namespace tinyhorde {

namespace {

constexpr const char* kBanner =
    "[Tinyhorde] Active. Tamed super-large creatures are scaled to Rex size. Cryopod & SCS "
    "compatible.";
constexpr const char* kAdminRequired = "Admin privileges required.";
// The name a failure of the chat command is reported under.
constexpr const char* kChatLabel = "Chat /hordesize";

// The game's case-insensitive comparison; true when word equals keyword.
bool SameWordIgnoringCase(const host::FString& word, const char* keyword) {
  const host::FString wanted(keyword);
  return GameHandleTable().Stricmp(*word, *wanted) == 0;
}

// Whether player may type row's chat word. Without the game's admin flag no player can be told
// to be an administrator: their words are refused to everyone (the console and RCON keep them).
bool MayType(const CommandRow& row, host::AShooterPlayerController* player) {
  switch (row.access) {
    case ChatAccess::kEveryone:
      return true;
    case ChatAccess::kAdministrators:
      return FeatureOn(host::feature::kChatAdminCommands) &&
             host::IsFlagSetIn(player, GameHandleTable().bIsAdmin);
  }
  return false;
}

// The row of rows whose chat word tokens[1] is, or null. Without the game's comparison no word
// is matched: every message shows the banner.
const CommandRow* ChatWordRow(std::span<const CommandRow> rows,
                              const host::TArray<host::FString>& tokens) {
  if (tokens.Num() < 2 || !FeatureOn(host::feature::kChatSubcommands)) return nullptr;
  for (const CommandRow& row : rows)
    if (row.chat != nullptr && SameWordIgnoringCase(tokens[1], row.word)) return &row;
  return nullptr;
}

}  // namespace

void OnChatCommand(host::AShooterPlayerController* player, host::FString* message, int, int) {
  RunChatCommand(CommandTable(), player, message);
}

void RunChatCommand(std::span<const CommandRow> rows, host::AShooterPlayerController* player,
                    const host::FString* message) {
  if (player == nullptr) return;
  // While off, every player hears that first; the banner would claim otherwise, and telling an
  // administrator apart needs game names the game may lack.
  if (TinyhordeOff()) {
    AnswerChatWhileOff(player);
    return;
  }
  ChatWordFn chosen = nullptr;
  Contained(kChatLabel, [&] {
    const host::TArray<host::FString> tokens =
        message != nullptr ? SplitOnSpaces(*message) : host::TArray<host::FString>();
    const CommandRow* row = ChatWordRow(rows, tokens);
    if (row == nullptr) {
      ReplyToPlayer(player, kBannerColour, kBanner);
      return;
    }
    if (MayType(*row, player))
      chosen = row->chat;
    else
      ReplyToPlayer(player, kRefusalColour, kAdminRequired);
  });
  // Outside the guard above: each word answers (and guards) for itself.
  if (chosen != nullptr) chosen(player);
}

void OnChatReload(host::AShooterPlayerController* player) {
  Contained(kChatLabel, [player] {
    const ReloadReply reply = ReloadConfigForCommand("ChatReload");
    if (!reply.loaded) {
      ReplyToPlayer(player, kRefusalColour, reply.text);
      return;
    }
    if (!reply.restored.empty()) LogInfo(reply.restored);
    ReplyToPlayer(player, kSuccessColour, "[Tinyhorde] Config reloaded successfully.",
                  reply.restored);
  });
}

void OnChatStatus(host::AShooterPlayerController* player) {
  Contained(kChatLabel, [player] { ReplyToPlayer(player, StatusColour(), StatusText()); });
}

void OnChatVersion(host::AShooterPlayerController* player) {
  Contained(kChatLabel, [player] { ReplyToPlayer(player, kSuccessColour, VersionText()); });
}

void OnChatResizeAll(host::AShooterPlayerController* player) {
  // The console command answers (and guards) for itself.
  OnConsoleResizeAll(reinterpret_cast<host::APlayerController*>(player), nullptr, false);
}

}  // namespace tinyhorde
