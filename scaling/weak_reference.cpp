#include "scaling/weak_reference.h"

#include "base/game_handles.h"

namespace tinyhorde {

host::FWeakObjectPtr MakeWeakReference(const void* object) {
  host::FWeakObjectPtr reference;
  GameHandleTable().WeakAssign(&reference, static_cast<host::UObject*>(const_cast<void*>(object)));
  return reference;
}

host::UObject* ResolveWeakReference(const host::FWeakObjectPtr& reference) {
  return GameHandleTable().WeakGet(&reference, false);
}

}  // namespace tinyhorde
