// Whether shrinking is safe. It is not when a storage hook could not be installed: a creature
// could then reach a cryopod, an upload or a save at its reduced size. The plugin then shrinks
// nothing for as long as it stays loaded, while every installed restore path still works.
#pragma once

#include <string>
#include <vector>

namespace tinyhorde {

void SetMissingStorageHooks(std::vector<std::string> names);
const std::vector<std::string>& MissingStorageHooks();
bool ShrinkingAllowed();
// Why shrinking is off, e.g. "storage hooks missing: A, B"; empty while it is on.
std::string ShrinkingOffReason();

}  // namespace tinyhorde
