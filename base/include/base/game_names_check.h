// What start-up learnt from the host's offsets cache about the names of the game the server runs:
// whether every name the plugin uses is there. A game update removes names; asking the host for
// one the game lacks would stop the server, so the plugin asks only for names the cache has, or,
// when the cache cannot be read, for every name as before.
//
// Where the game lacks any name on the list (a marked hook aside: it only goes unhooked),
// Tinyhorde is off for this load: it hooks nothing, touches no creature, and its commands answer
// that it is off. Set by start-up, read everywhere else. Game thread.
#pragma once

#include <string>
#include <vector>

#include "host/game_names.h"

namespace tinyhorde {

// Holds the list against the cache, writes the one line that says what it found, and keeps the
// answer until the next start-up. Never throws.
void CheckGameNamesAtStart();

// Whether the last check found this name absent from a valid cache.
bool IsAbsentGameName(const host::GameName& name);
// The names on the list the game lacks, in the list's order, marked hooks aside.
const std::vector<std::string>& AbsentGameNames();

// Whether Tinyhorde is off: the game lacks a name it needs.
bool TinyhordeOff();
// "[Tinyhorde] Off: the game lacks A, B.": every command's answer while off, and the status
// reply's first line.
std::string OffReply();

// Tests: forget the last check, as before any start-up.
void ForgetGameNamesCheckForTests();

}  // namespace tinyhorde
