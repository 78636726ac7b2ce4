#include "plugin/command_table.h"

#include <string>

#include <fmt/format.h>

#include "base/game_names_check.h"
#include "base/logger.h"
#include "commands/chat_command.h"
#include "commands/command_table.h"
#include "commands/off_answer.h"
#include "host/services.h"

namespace tinyhorde {

namespace {

// A row's handlers as registered: asked at every call whether Tinyhorde is off, since the commands
// outlive the start-up that registered them.
host::ConsoleHandler ConsoleEntry(const CommandRow& row) {
  if (row.answersWhileOff) return row.console;
  return [console = row.console](host::APlayerController* caller, host::FString* line, bool flag) {
    if (TinyhordeOff())
      AnswerConsoleWhileOff(caller);
    else
      console(caller, line, flag);
  };
}

host::RconHandler RconEntry(const CommandRow& row) {
  if (row.answersWhileOff) return row.rcon;
  return [rcon = row.rcon](host::RCONClientConnection* connection, host::RCONPacket* packet,
                           host::UWorld* world) {
    if (TinyhordeOff())
      AnswerRconWhileOff(connection, packet);
    else
      rcon(connection, packet, world);
  };
}

}  // namespace

void RegisterCommands() {
  for (const CommandRow& row : CommandTable())
    for (const char* prefix : CommandPrefixes(row))
      host::RegisterConsoleCommand(host::FString(CommandName(prefix, row).c_str()),
                                   ConsoleEntry(row));
  // An RCON command that could not answer is not registered: the client hears the host's own
  // reply for an unknown command instead of waiting for one that never comes.
  if (FeatureOn(host::feature::kRconReplies)) {
    for (const CommandRow& row : CommandTable())
      for (const char* prefix : CommandPrefixes(row))
        host::RegisterRconCommand(host::FString(CommandName(prefix, row).c_str()), RconEntry(row));
  } else {
    LogWarning(fmt::format(
        "[Tinyhorde] RCON commands not registered: the game lacks {}, through which they reply.",
        host::game_names::kRconSendMessage.name));
  }
  host::RegisterChatCommand(host::FString(kChatCommand), &OnChatCommand);
}

}  // namespace tinyhorde
