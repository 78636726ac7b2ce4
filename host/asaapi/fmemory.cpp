// The game's allocator. The SDK's FMemory looks its function up by name on every call; these
// resolve each address once (it never changes while the server runs) and call it directly.
#include <string>

#include "host/game.h"
#include "sdk.h"

namespace host::FMemory {

namespace {

template <typename F>
F Resolve(const char* name) {
  void* address = ::GetAddress(std::string(name));
  if (address == nullptr) throw UnknownGameName(name);
  return reinterpret_cast<F>(address);
}

using MallocFunction = void* (*)(uint64, uint32);
using ReallocFunction = void* (*)(void*, uint64, uint32);
using FreeFunction = void (*)(void*);

}  // namespace

void* Malloc(uint64 size, uint32 alignment) {
  static const auto function =
      Resolve<MallocFunction>("FMemory.Malloc(unsigned__int64,unsignedint)");
  return function(size, alignment);
}

// As the SDK does, growing nothing is allocating.
void* Realloc(void* block, uint64 size, uint32 alignment) {
  if (block == nullptr) return Malloc(size, alignment);
  static const auto function =
      Resolve<ReallocFunction>("FMemory.Realloc(void*,unsigned__int64,unsignedint)");
  return function(block, size, alignment);
}

void Free(void* block) {
  if (block == nullptr) return;
  static const auto function = Resolve<FreeFunction>("FMemory.Free(void*)");
  function(block);
}

}  // namespace host::FMemory
