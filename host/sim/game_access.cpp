// Game fields, flags and functions, resolved by name over the simulated host.
#include <sim/host_api.h>

#include "host/game.h"

namespace host {

static_assert(sizeof(FString) == 16 && sizeof(FName) == 8 && sizeof(FWeakObjectPtr) == 8);
static_assert(sizeof(UE::Math::TVector<double>) == 24 && sizeof(TArray<void*>) == 16);

// An unknown field or flag name ends the server inside the host, as does an unknown function
// name unless the host runs with HooksDoNotThrow (then the address is null); nothing here throws.
void* GetFunctionAddress(const GameName& name) {
  return simhost::GetAddress(name.name);
}

// With a null object the host's answer is the offset itself.
std::uintptr_t GetFieldOffset(const GameName& name) {
  return simhost::GetAddress(nullptr, name.name);
}

BitField GetBitFieldOffset(const GameName& name) {
  const auto info = simhost::GetBitField(nullptr, name.name);
  return BitField{info.offset, info.bit_position, info.num_bits, info.length};
}

}  // namespace host
