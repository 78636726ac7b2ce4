// Game fields, flags, functions and the allocator, over the simulated host.
#include <sim/host_api.h>

#include "host/game.h"

namespace host {

static_assert(sizeof(FString) == 16 && sizeof(FName) == 8 && sizeof(FWeakObjectPtr) == 8);
static_assert(sizeof(UE::Math::TVector<double>) == 24 && sizeof(TArray<void*>) == 16);

// An unknown field or flag name ends the server inside the host, as does an unknown function
// name unless the host runs with HooksDoNotThrow (then the address is null); nothing here throws.
std::uintptr_t GetFieldAddress(const void* object, const std::string& name) {
  return simhost::GetAddress(object, name);
}

BitField GetBitField(const void* object, const std::string& name) {
  const auto info = simhost::GetBitField(object, name);
  return BitField{info.offset, info.bit_position, info.num_bits, info.length};
}

void* GetFunctionAddress(const std::string& name) {
  return simhost::GetAddress(name);
}

std::uintptr_t GetFieldOffset(const std::string& name) {
  return GetFieldAddress(nullptr, name);
}

BitField GetBitFieldOffset(const std::string& name) {
  return GetBitField(nullptr, name);
}

namespace FMemory {

namespace {

// The game's allocator functions, resolved on first use; their addresses never change.
template <typename F>
F Resolve(const char* name) {
  void* address = GetFunctionAddress(name);
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
void* Realloc(void* block, uint64 size, uint32 alignment) {
  static const auto function =
      Resolve<ReallocFunction>("FMemory.Realloc(void*,unsigned__int64,unsignedint)");
  return function(block, size, alignment);
}
void Free(void* block) {
  static const auto function = Resolve<FreeFunction>("FMemory.Free(void*)");
  function(block);
}

}  // namespace FMemory

}  // namespace host
