// The commands, one row each (see commands/command_table.h). A new command is a row here; its
// handlers live in the file of its own topic. The order is the order of registration.
#include "commands/command_table.h"

#include <algorithm>
#include <string_view>

#include "commands/chat_command.h"
#include "commands/console_commands.h"
#include "commands/rcon_commands.h"
#include "commands/status_command.h"
#include "commands/version_command.h"

namespace tinyhorde {

namespace {

constexpr CommandRow kCommands[] = {
    {"resizeall", &OnConsoleResizeAll, &OnRconResizeAll, &OnChatResizeAll,
     ChatAccess::kAdministrators, false},
    {"setscale", &OnConsoleSetScale, &OnRconSetScale, nullptr, ChatAccess::kAdministrators, false},
    {"reload", &OnConsoleReload, &OnRconReload, &OnChatReload, ChatAccess::kAdministrators, false},
    {"status", &OnConsoleStatus, &OnRconStatus, &OnChatStatus, ChatAccess::kAdministrators, true},
    {"version", &OnConsoleVersion, &OnRconVersion, &OnChatVersion, ChatAccess::kEveryone, true},
};

// The commands that came after the older names: they answer under their first name only.
constexpr std::string_view kWithoutOlderNames[] = {"version"};

}  // namespace

std::span<const CommandRow> CommandTable() {
  return kCommands;
}

std::span<const char* const> CommandPrefixes(const CommandRow& row) {
  const std::span<const char* const> all = kCommandPrefixes;
  const bool first_only = std::find(std::begin(kWithoutOlderNames), std::end(kWithoutOlderNames),
                                    row.word) != std::end(kWithoutOlderNames);
  return first_only ? all.first(1) : all;
}

std::string CommandName(const char* prefix, const CommandRow& row) {
  return std::string(prefix) + row.word;
}

}  // namespace tinyhorde
