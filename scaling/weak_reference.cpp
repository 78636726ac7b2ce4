#include "scaling/weak_reference.h"

#include "host/game.h"

namespace tinyhorde {

host::FWeakObjectPtr MakeWeakReference(const void* object) {
  host::FWeakObjectPtr reference;
  host::CallGame<void, host::FWeakObjectPtr*, host::UObject*>(
      "FWeakObjectPtr.operator=(UObject*)", &reference,
      static_cast<host::UObject*>(const_cast<void*>(object)));
  return reference;
}

host::UObject* ResolveWeakReference(const host::FWeakObjectPtr& reference) {
  return host::CallGame<host::UObject*, const host::FWeakObjectPtr*, bool>("FWeakObjectPtr.Get()",
                                                                           &reference, false);
}

}  // namespace tinyhorde
