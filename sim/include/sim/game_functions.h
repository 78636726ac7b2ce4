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
struct SimArchive {
  FArchive base;
  StoredRecord* record;
  SimArchive(StoredRecord* target, bool saving) : record(target) {
    base.ArFlags = saving ? kArchiveIsSaving : 0;
  }
};

// An RCON client's connection as the game keeps it; SendMessage hands replies to send.
struct RCONClientConnection {
  std::function<void(int id, int type, const std::u16string& text)> send;
};

// Registers every game function under its name and declares the hookable ones.
void RegisterGameFunctions(Server& server);

}  // namespace sim
