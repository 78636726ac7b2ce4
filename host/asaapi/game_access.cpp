// Game fields, flags and functions by name, over the host's symbol look-up. An unknown field or
// flag name ends the server inside the host (nothing returns); an unknown function name does too,
// unless the host runs with HooksDoNotThrow, when the address is null.
#include "host/game.h"
#include "sdk.h"

namespace host {

std::uintptr_t GetFieldAddress(const void* object, const std::string& name) {
  return static_cast<std::uintptr_t>(::GetAddress(object, name));
}

BitField GetBitField(const void* object, const std::string& name) {
  const ::BitField field = ::GetBitField(object, name);
  return BitField{field.offset, field.bit_position, field.num_bits, field.length};
}

void* GetFunctionAddress(const std::string& name) {
  return ::GetAddress(name);
}

// With a null object the host's answer is the offset itself.
std::uintptr_t GetFieldOffset(const std::string& name) {
  return GetFieldAddress(nullptr, name);
}

BitField GetBitFieldOffset(const std::string& name) {
  return GetBitField(nullptr, name);
}

}  // namespace host
