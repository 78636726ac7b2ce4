// The game-side objects that only the simulated game builds (archives, RCON connections), and
// the registration of the game's functions. The hookable functions' signatures are their rows'
// (sim/hookable_functions.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "sim/game.h"
#include "sim/game_types.h"

namespace sim {

class Server;

// An archive bound to one storage record: saving writes the character into it, loading reads it.
// Its first bytes follow the layout given (FArchive); the game itself goes by `saving`. Cooked
// layouts point into the archive itself, so it never moves.
struct SimArchive {
  FArchive base;
  StoredRecord* record;
  bool saving;
  SimArchive(StoredRecord* target, bool is_saving, ArchiveLayout layout = ArchiveLayout::Editor);
  SimArchive(const SimArchive&) = delete;
  SimArchive& operator=(const SimArchive&) = delete;
};

// An RCON client's connection as the game keeps it; SendMessage hands replies to send.
struct RCONClientConnection {
  std::function<void(int id, int type, const std::u16string& text)> send;
};

// Registers every game function under its name and declares the hookable ones.
void RegisterGameFunctions(Server& server);

}  // namespace sim
