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

}  // namespace tinyhorde
