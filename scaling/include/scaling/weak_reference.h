// Weak references to game objects through the game's own FWeakObjectPtr: an object's slot in the
// object table and that slot's serial, so a reference to a destroyed object resolves to null even
// when a new object now lives at the same address. Game thread; both may throw when the game
// lacks the functions.
#pragma once

#include "host/types.h"

namespace tinyhorde {

host::FWeakObjectPtr MakeWeakReference(const void* object);
// The object, or null once it is gone.
host::UObject* ResolveWeakReference(const host::FWeakObjectPtr& reference);

}  // namespace tinyhorde
