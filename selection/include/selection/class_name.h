// Reading names of game objects: an object's class, a class's lowered name.
#pragma once

#include <string>

#include "host/types.h"

namespace tinyhorde {

// The object's class (UObjectBase.ClassPrivate); null when it has none.
host::UClass* ClassOf(const void* object);

// The text of a game name, as UTF-8. The engine buffer that the conversion fills is released.
std::string NameText(const host::FName* name);

// The UTF-8 name of a class as the game spells it.
std::string ClassNameOf(host::UClass* cls);

// The UTF-8 name of the object's class as the game spells it (for log lines); empty when the
// object has no class.
std::string ClassNameText(const void* object);

}  // namespace tinyhorde
