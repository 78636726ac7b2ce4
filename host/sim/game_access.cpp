// Game fields, flags and functions, resolved by name over the simulated host.
#include <sim/host_api.h>

#include "host/game.h"
#include "host_settings.h"

namespace host {

static_assert(sizeof(FString) == 16 && sizeof(FName) == 8 && sizeof(FWeakObjectPtr) == 8);
static_assert(sizeof(UE::Math::TVector<double>) == 24 && sizeof(TArray<void*>) == 16);

// An unknown field or flag name ends the server inside the host, as does an unknown function
// name unless the host runs with HooksDoNotThrow (then the address is null); nothing here throws.
// A marked name is never asked for: a function has no address, a field or flag raises. Nor is a
// name the offsets cache says the game lacks: a function has no address, a field or flag is absent.
void* GetFunctionAddress(const GameName& name) {
  if (!binding::MayLookUp(name)) return nullptr;
  return simhost::GetAddress(name.name);
}

// With a null object the host's answer is the offset itself.
std::uintptr_t GetFieldOffset(const GameName& name) {
  if (binding::AbsentFromCache(name)) return kAbsentOffset;
  if (!binding::MayLookUp(name)) throw UnknownGameName(name.name);
  return simhost::GetAddress(nullptr, name.name);
}

BitField GetBitFieldOffset(const GameName& name) {
  if (binding::AbsentFromCache(name)) return BitField{kAbsentOffset, 0, 0, 0};
  if (!binding::MayLookUp(name)) throw UnknownGameName(name.name);
  const auto info = simhost::GetBitField(nullptr, name.name);
  return BitField{info.offset, info.bit_position, info.num_bits, info.length};
}

}  // namespace host
