// Whether shrinking is safe. It is not when a storage hook could not be installed (a creature
// could then reach a cryopod, an upload or a save at its reduced size), nor when the game lacks a
// function that recognising, shrinking or putting back a creature needs. The plugin then shrinks
// nothing for as long as it stays loaded, while every restore path that still works runs.
#pragma once

#include <string>
#include <vector>

namespace tinyhorde {

void SetMissingStorageHooks(std::vector<std::string> names);
const std::vector<std::string>& MissingStorageHooks();
void SetMissingGameFunctions(std::vector<std::string> names);
const std::vector<std::string>& MissingGameFunctions();
bool ShrinkingAllowed();
// Why shrinking is off, e.g. "storage hooks missing: A, B" or "game functions missing: X", both
// joined by "; " when both apply; empty while it is on.
std::string ShrinkingOffReason();

}  // namespace tinyhorde
