// Every command the plugin answers, one row each: its word, its console and RCON handlers (what
// administrators type in the game's console or over RCON) and, when it may also be typed after
// the chat command, its chat handler and who may type it there. Registration
// (plugin/command_table.cpp), the chat command (commands/chat_command.cpp), the install text
// check (tests/install/), the tests and the fuzz dictionaries' check all read this table, so a
// command exists everywhere once its row does. The table is constant; any thread may read it.
#pragma once

#include <span>
#include <string>

#include "host/types.h"

namespace tinyhorde {

// Each command is registered on the console and over RCON once under each prefix: the first is
// its name, the others are older aliases that answer the same. A command that came after the
// older names has its first name only (CommandPrefixes).
inline constexpr const char* kCommandPrefixes[] = {"hordesize.", "bigfit."};

// The chat command; its second word picks a row with a chat handler.
inline constexpr const char* kChatCommand = "/hordesize";

using ConsoleCommandFn = void (*)(host::APlayerController* caller, host::FString* line, bool flag);
using RconCommandFn = void (*)(host::RCONClientConnection* connection, host::RCONPacket* packet,
                               host::UWorld* world);
// Runs "/hordesize <word>" for player, who may type it (the chat command checked the row's
// access). Called outside any guard: it answers, and guards, for itself.
using ChatWordFn = void (*)(host::AShooterPlayerController* player);

// Who may type a row's chat word. Anyone else gets "Admin privileges required.".
enum class ChatAccess {
  kAdministrators,  // players whose controller has the game's admin flag
  kEveryone,        // every player
};

// Every field is written in every row (the build warns of a row that leaves one out).
struct CommandRow {
  const char* word;  // lower-case ASCII letters: "resizeall"
  ConsoleCommandFn console;
  RconCommandFn rcon;
  ChatWordFn chat;    // null: no chat word
  ChatAccess access;  // who may type the chat word; kAdministrators for a row without one
  // Whether it answers while Tinyhorde is off (base/game_names_check.h); every other command then
  // answers only that Tinyhorde is off, and changes nothing.
  bool answersWhileOff;
};

// The rows, in registration order.
std::span<const CommandRow> CommandTable();

// The prefixes the row is registered under: all of kCommandPrefixes, or only the first for a
// command that never had an older name.
std::span<const char* const> CommandPrefixes(const CommandRow& row);

// prefix followed by the row's word: "hordesize.resizeall".
std::string CommandName(const char* prefix, const CommandRow& row);

}  // namespace tinyhorde
