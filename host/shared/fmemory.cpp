// The game's allocator, over the host's function look-up; both bindings build it. (The SDK's own
// FMemory looks its function up by name on every call.) Each address is resolved once, at
// start-up or at first use, since it never changes while the server runs, and called directly.
#include <string>
#include <vector>

#include "host/game.h"

namespace host::FMemory {

namespace {

using MallocFunction = void* (*)(uint64, uint32);
using ReallocFunction = void* (*)(void*, uint64, uint32);
using FreeFunction = void (*)(void*);

using game_names::kFree;
using game_names::kMalloc;
using game_names::kRealloc;

// Set together by Resolve; game thread.
bool resolved = false;
MallocFunction malloc_function = nullptr;
ReallocFunction realloc_function = nullptr;
FreeFunction free_function = nullptr;

template <typename F>
F Checked(F function, const char* name) {
  if (function == nullptr) throw UnknownGameName(name);
  return function;
}

void ResolveOnFirstUse() {
  if (!resolved) Resolve();
}

}  // namespace

std::vector<std::string> Resolve() {
  malloc_function = reinterpret_cast<MallocFunction>(GetFunctionAddress(kMalloc));
  realloc_function = reinterpret_cast<ReallocFunction>(GetFunctionAddress(kRealloc));
  free_function = reinterpret_cast<FreeFunction>(GetFunctionAddress(kFree));
  resolved = true;
  std::vector<std::string> missing;
  if (malloc_function == nullptr) missing.emplace_back(kMalloc.name);
  if (realloc_function == nullptr) missing.emplace_back(kRealloc.name);
  if (free_function == nullptr) missing.emplace_back(kFree.name);
  return missing;
}

void* Malloc(uint64 size, uint32 alignment) {
  ResolveOnFirstUse();
  return Checked(malloc_function, kMalloc.name)(size, alignment);
}

// As the SDK does, growing nothing is allocating, and freeing nothing does nothing.
void* Realloc(void* block, uint64 size, uint32 alignment) {
  if (block == nullptr) return Malloc(size, alignment);
  ResolveOnFirstUse();
  return Checked(realloc_function, kRealloc.name)(block, size, alignment);
}

void Free(void* block) {
  if (block == nullptr) return;
  ResolveOnFirstUse();
  Checked(free_function, kFree.name)(block);
}

}  // namespace host::FMemory
