// What start-up learnt from the host's offsets cache about the names of the game the server runs:
// whether every name the plugin uses is there. A game update removes names; asking the host for
// one the game lacks would stop the server, so the plugin asks only for names the cache has, or,
// when the cache cannot be read, for every name as before.
//
// A name the game lacks turns off the features its entry names (host/game_names.h), and only
// those. Where the game lacks a name that putting a creature back needs, Tinyhorde is off for
// this load: it hooks nothing, touches no creature, and its commands answer that it is off.
// Where it lacks a name that shrinking or a path to storage needs, nothing is shrunk and every
// restore runs. Any other name costs only its own feature: a trigger, the delayed passes, camera
// scaling, a sign of the tamed test, the chat's admin commands or subcommands, RCON replies,
// player replies. Set by start-up, read everywhere else. Game thread.
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
// Of those, the ones whose loss turns shrinking off (restoring only).
std::vector<std::string> AbsentNamesShrinkingNeeds();

// The features the names the game lacks turned off; none before the first check.
host::Features FeaturesOff();
// Whether every one of these features is on.
bool FeatureOn(host::Features features);

// Whether Tinyhorde is off: the game lacks a name restoring needs.
bool TinyhordeOff();
// "[Tinyhorde] Off: the game lacks A, B.": every command's answer while off, and the status
// reply's first line.
std::string OffReply();
// "[Tinyhorde] The game lacks A, B: feature, feature off; the rest runs.", where the game lacks
// names and Tinyhorde is not off; empty otherwise.
std::string LackedNamesText();

// Tests: forget the last check, as before any start-up.
void ForgetGameNamesCheckForTests();

}  // namespace tinyhorde
