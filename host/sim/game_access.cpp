// Game fields, flags, functions and the allocator, over the simulated host.
#include <sim/host_api.h>

#include "host/game.h"

namespace host {

static_assert(sizeof(FString) == 16 && sizeof(FName) == 8 && sizeof(FWeakObjectPtr) == 8);
static_assert(sizeof(UE::Math::TVector<double>) == 24 && sizeof(TArray<void*>) == 16);

std::uintptr_t GetFieldAddress(const void* object, const std::string& name) {
  try {
    return simhost::GetAddress(object, name);
  } catch (const std::exception&) {
    throw UnknownGameName(name);
  }
}

BitField GetBitField(const void* object, const std::string& name) {
  try {
    const auto info = simhost::GetBitField(object, name);
    return BitField{info.offset, info.bit_position, info.num_bits, info.length};
  } catch (const std::exception&) {
    throw UnknownGameName(name);
  }
}

void* GetFunctionAddress(const std::string& name) {
  try {
    return simhost::GetAddress(name);
  } catch (const std::exception&) {
    throw UnknownGameName(name);
  }
}

namespace FMemory {
void* Malloc(uint64 size, uint32 alignment) {
  return CallGame<void*>("FMemory.Malloc(unsigned__int64,unsignedint)", size, alignment);
}
void* Realloc(void* block, uint64 size, uint32 alignment) {
  return CallGame<void*>("FMemory.Realloc(void*,unsigned__int64,unsignedint)", block, size,
                         alignment);
}
void Free(void* block) {
  CallGame<void>("FMemory.Free(void*)", block);
}
}  // namespace FMemory

}  // namespace host
