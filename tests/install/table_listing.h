// The plugin's tables as lines of text, for the install check (check_install.cmake), which holds
// the README's install text to them. Reading the tables themselves, not their source, means that
// a row of any shape is listed. One fact per line, its kind first:
//   prefix <prefix>                  each of kCommandPrefixes, in order
//   chat <chat command>              kChatCommand
//   command <word> <access>          each row in order; access is "administrators" or "everyone"
//                                    for a row with a chat word, "none" for one without
//   setting <key> [<older key>]      each description in order
//   scale-bounds <min> <max>         kMinScale and kMaxScale, as the loader's warning writes them
//   status-defaults <line>           the status line's settings as Settings{} shows them
//   end                              the listing is whole
#pragma once

#include <ostream>
#include <span>

#include "commands/command_table.h"

namespace installcheck {

void ListTables(std::span<const tinyhorde::CommandRow> commands, std::ostream& out);

}  // namespace installcheck
