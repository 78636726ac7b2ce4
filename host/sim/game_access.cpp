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

}  // namespace host
