// The commands, one row each (see commands/command_table.h). A new command is a row here; its
// handlers live in the file of its own topic. The order is the order of registration.
#include "commands/command_table.h"

#include "commands/chat_command.h"
#include "commands/console_commands.h"
#include "commands/rcon_commands.h"
#include "commands/status_command.h"

namespace tinyhorde {

namespace {

constexpr CommandRow kCommands[] = {
    {"resizeall", &OnConsoleResizeAll, &OnRconResizeAll, &OnChatResizeAll,
     ChatAccess::kAdministrators},
    {"setscale", &OnConsoleSetScale, &OnRconSetScale, nullptr, ChatAccess::kAdministrators},
    {"reload", &OnConsoleReload, &OnRconReload, &OnChatReload, ChatAccess::kAdministrators},
    {"status", &OnConsoleStatus, &OnRconStatus, &OnChatStatus, ChatAccess::kAdministrators},
};

}  // namespace

std::span<const CommandRow> CommandTable() {
  return kCommands;
}

std::string CommandName(const char* prefix, const CommandRow& row) {
  return std::string(prefix) + row.word;
}

}  // namespace tinyhorde
