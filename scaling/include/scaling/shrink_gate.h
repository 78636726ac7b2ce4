// Whether shrinking is safe. It is not when a storage hook could not be installed (a creature
// could then reach a cryopod, an upload or a save at its reduced size), nor when the game lacks a
// name or function that recognising, shrinking or putting back a creature needs. The plugin then
// shrinks nothing for as long as it stays loaded, while every restore path that still works runs.
#pragma once

#include <string>
#include <vector>

namespace tinyhorde {

void SetMissingStorageHooks(std::vector<std::string> names);
const std::vector<std::string>& MissingStorageHooks();
void SetMissingGameFunctions(std::vector<std::string> names);
const std::vector<std::string>& MissingGameFunctions();
// The names the game lacks without which a creature could be stored small (the offsets cache
// said so at start-up).
void SetLackedGameNames(std::vector<std::string> names);
bool ShrinkingAllowed();
// Why shrinking is off, e.g. "the game lacks A", "storage hooks missing: A, B" or "game functions
// missing: X", joined by "; " when more apply; empty while it is on.
std::string ShrinkingOffReason();

}  // namespace tinyhorde
