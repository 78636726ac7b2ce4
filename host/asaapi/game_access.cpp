// Game fields, flags and functions by name, over the host's symbol look-up. An unknown field or
// flag name ends the server inside the host (nothing returns); an unknown function name does too,
// unless the host runs with HooksDoNotThrow, when the address is null.
#include "host/game.h"
#include "host_settings.h"
#include "sdk.h"

namespace host {

// A marked name is never asked for: a function has no address, a field or flag raises.
void* GetFunctionAddress(const GameName& name) {
  if (!binding::MayLookUp(name)) return nullptr;
  return ::GetAddress(std::string(name.name));
}

// With a null object the host's answer is the offset itself.
std::uintptr_t GetFieldOffset(const GameName& name) {
  if (binding::AbsentFromCache(name)) return kAbsentOffset;
  if (!binding::MayLookUp(name)) throw UnknownGameName(name.name);
  const void* no_object = nullptr;
  return static_cast<std::uintptr_t>(::GetAddress(no_object, std::string(name.name)));
}

BitField GetBitFieldOffset(const GameName& name) {
  if (binding::AbsentFromCache(name)) return BitField{kAbsentOffset, 0, 0, 0};
  if (!binding::MayLookUp(name)) throw UnknownGameName(name.name);
  const void* no_object = nullptr;
  const ::BitField field = ::GetBitField(no_object, std::string(name.name));
  return BitField{field.offset, field.bit_position, field.num_bits, field.length};
}

}  // namespace host
